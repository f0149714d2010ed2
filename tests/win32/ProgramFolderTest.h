// A window test of TolkCfg with a program folder of its own: the built skins and language modules
// copied into a temporary folder, from which the skinned windows read their skins.
#pragma once

#include "SkinDialog.h"
#include "SkinMessages.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSkinMessages();
        for (const char* part : {"skins", "lang"})
            std::filesystem::copy(std::filesystem::path(TOLK_DIST) / part, std::filesystem::path(folder.Path()) / part,
                                  std::filesystem::copy_options::recursive);
        SetSkinProgramFolder(folder.Path());
        // The pointer out of the way of the windows.
        ::SetCursorPos(1200, 1000);
    }
    void TearDown() override { SetSkinProgramFolder(""); }

    TempFolder folder;
};
