#include "SkinFile.h"

#include "FileSystem.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

const char kMainSkin[] = "[screen]\r\n"
                         "MASK = main_mask.bmp\r\n"
                         "main=main.jpg\r\n"
                         "Over=main_over.jpg\r\n"
                         "Down=\"main_down.jpg\"\r\n"
                         "Disabled=main_disabled.jpg\r\n"
                         "[ButtonPos]\r\n"
                         "4=Apply,22,580,90,24,  Save the profile,NO\r\n"
                         "1=Close,770,8,22,22,Close,NO\r\n"
                         "4=Second,0,0,1,1,Ignored,TRUE\r\n"
                         "07=Padded,1,1,1,1,Not key seven,NO\r\n"
                         "name=Word,1,1,1,1,Not a number,NO\r\n"
                         " 12 =Spaced,5,6,7,8,Twelve,NO\r\n"
                         "-3=Minus,1,2,3,4,Minus three,NO\r\n"
                         "[fram]\r\n"
                         "position=Frame,12,60,776,500,,NO\r\n";

TEST(SkinFile, ReadsPicturesEntriesAndFrameWithoutRegardToCase)
{
    SkinFile skin = SkinFile::FromText(kMainSkin);
    SkinPictures pictures = skin.Pictures();
    EXPECT_EQ(pictures.mask, "main_mask.bmp");
    EXPECT_EQ(pictures.main, "main.jpg");
    EXPECT_EQ(pictures.over, "main_over.jpg");
    EXPECT_EQ(pictures.down, "main_down.jpg");
    EXPECT_EQ(pictures.disabled, "main_disabled.jpg");

    ButtonPosition apply = skin.ButtonPos(4);
    EXPECT_EQ(FieldText(apply.name), "Apply") << "the first of two equal keys wins";
    EXPECT_EQ(apply.right, 112);
    EXPECT_EQ(apply.bottom, 604);
    EXPECT_EQ(FieldText(apply.hint), "Save the profile");
    EXPECT_EQ(apply.flag, 0);
    EXPECT_EQ(FieldText(skin.ButtonPos(12).hint), "Twelve");

    ButtonPosition frame = skin.Frame();
    EXPECT_EQ(frame.left, 12);
    EXPECT_EQ(frame.top, 60);
    EXPECT_EQ(frame.right, 788);
    EXPECT_EQ(frame.bottom, 560);
}

TEST(SkinFile, ListsEachNumberedKeyOnceInFileOrder)
{
    EXPECT_EQ(SkinFile::FromText(kMainSkin).ButtonKeys(), (std::vector<int>{4, 1, 12, -3}));
    // "07" is not the text of key 7, so it is neither listed nor found.
    EXPECT_EQ(SkinFile::FromText(kMainSkin).ButtonPos(7).right, 0);
}

TEST(SkinFile, MissingFileSectionOrKeyReadsEmpty)
{
    for (const SkinFile& skin : {SkinFile(), SkinFile::FromText(""), SkinFile::FromText("[Other]\nMask=x\n"),
                                 SkinFile::Load("/nonexistent/tolk/skins/skin_main.ini")}) {
        SkinPictures pictures = skin.Pictures();
        EXPECT_EQ(pictures.mask + pictures.main + pictures.over + pictures.down + pictures.disabled, "");
        EXPECT_TRUE(skin.ButtonKeys().empty());
        ButtonPosition pos = skin.ButtonPos(2);
        EXPECT_EQ(FieldText(pos.name), "");
        EXPECT_EQ(pos.left | pos.top | pos.right | pos.bottom | pos.flag, 0);
        EXPECT_EQ(skin.Frame().right, 0);
    }
}

TEST(SkinFile, ValuesAreCutTo2047Characters)
{
    std::string longName(3000, 'p');
    SkinFile skin = SkinFile::FromText("[Screen]\nMain=" + longName + "\n[BUTTONPOS]\n1=B,1,2,3,4," +
                                       std::string(3000, 'h') + ",TRUE\n");
    EXPECT_EQ(skin.Pictures().main, longName.substr(0, 2047));
    // The cut removes the flag and the hint's end: the hint is then what precedes the last comma.
    ButtonPosition pos = skin.ButtonPos(1);
    EXPECT_EQ(pos.flag, 0);
    EXPECT_EQ(FieldText(pos.hint), "4");
}

TEST(SkinFile, LoadsFromTheSkinsFolderOfTheProgram)
{
    TempFolder folder;
    std::filesystem::create_directories(NativePath(folder / "skins"));
    WriteBytes(SkinFile::SkinPath(folder.Path(), "skins\\skin_reset_warn.ini"), kMainSkin);
    EXPECT_EQ(SkinFile::Load(SkinFile::SkinPath(folder.Path(), "skins\\skin_reset_warn.ini")).Pictures().main,
              "main.jpg");

    EXPECT_EQ(SkinFile::SkinPath("C:\\Tolk\\", "skins\\skin_main.ini"), "C:\\Tolk\\skins\\skin_main.ini");
    EXPECT_EQ(SkinFile::PicturePath("C:\\Tolk\\", "main_mask.bmp"), "C:\\Tolk\\skins\\main_mask.bmp");
}

} // namespace
