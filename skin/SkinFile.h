// Reading of a window's skin file: the "Screen" pictures, the "BUTTONPOS" entries and the "FRAM"
// rectangle. Nothing is ever written to a skin file. A missing file or key reads as empty text.
#pragma once

#include "ButtonPosition.h"
#include "IniDocument.h"

#include <string>
#include <string_view>
#include <vector>

// Values are read as the Windows profile calls read them into a buffer of 2048 characters: at most
// 2047 characters.
constexpr size_t kSkinValueBufferSize = 2048;

struct SkinPictures {
    std::string mask;
    std::string main;
    std::string over;
    std::string down;
    std::string disabled;
};

class SkinFile {
public:
    // An empty skin: every read gives empty text.
    SkinFile() = default;
    // Reads the whole file once; a missing or unreadable file gives an empty skin.
    static SkinFile Load(const std::string& path);
    static SkinFile FromText(std::string_view bytes);

    // path of a skin file: programFolder (with its trailing backslash or slash) + skinFileName,
    // for example "skins\skin_main.ini".
    static std::string SkinPath(std::string_view programFolder, std::string_view skinFileName);
    // path of a picture named in a skin file: programFolder + "skins\" + pictureName.
    static std::string PicturePath(std::string_view programFolder, std::string_view pictureName);

    // Value of a key, cut to 2047 characters; "" when missing.
    std::string Read(std::string_view section, std::string_view key) const;
    SkinPictures Pictures() const;
    // "BUTTONPOS" entry of the key; a missing key parses to all zeros.
    ButtonPosition ButtonPos(int key) const;
    // "FRAM" "POSITION": the area of the child pages.
    ButtonPosition Frame() const;
    // The keys of "BUTTONPOS" that are decimal numbers, in file order, each once.
    std::vector<int> ButtonKeys() const;

private:
    IniDocument m_doc;
};
