// The language modules of the program folder's lang folder: resource-only DLLs from which the
// configuration program takes every user-visible text by number (LanguageStrings.h). A number
// missing from a module shows as an empty hint, a wrong number as the hint of another control, and a
// text stored in the wrong encoding as garbled letters; these tests look for each. The program reads
// the texts with LoadStringA, so each language must fit the ANSI code page of its Windows: 1252 for
// the Western languages, 1250 for Polish, 1251 for Russian and 1254 for Turkish.
#include "../../resources/lang/LanguageStrings.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct LanguageModule {
    const char* file;
    LANGID language;
    UINT codePage; // ANSI code page of Windows in this language
};

const LanguageModule kEnglish{"Eng.dll", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), 1252};
const LanguageModule kGerman{"German.dll", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 1252};
const LanguageModule kFrench{"French.dll", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), 1252};
const LanguageModule kSpanish{"Spanish.dll", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), 1252};
const LanguageModule kDanish{"Danish.dll", MAKELANGID(LANG_DANISH, SUBLANG_DANISH_DENMARK), 1252};
const LanguageModule kFinnish{"Finnish.dll", MAKELANGID(LANG_FINNISH, SUBLANG_FINNISH_FINLAND), 1252};
const LanguageModule kPolish{"Polish.dll", MAKELANGID(LANG_POLISH, SUBLANG_POLISH_POLAND), 1250};
const LanguageModule kRussian{"Russian.dll", MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), 1251};
const LanguageModule kSwedish{"Swedish.dll", MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH), 1252};
const LanguageModule kTurkish{"Turkish.dll", MAKELANGID(LANG_TURKISH, SUBLANG_TURKISH_TURKEY), 1254};
const LanguageModule kTranslations[] = {kGerman, kFrench,  kSpanish, kDanish, kFinnish,
                                        kPolish, kRussian, kSwedish, kTurkish};

// Program folder + "lang\" + file name, with backslashes as the program builds it.
std::string ModulePath(const char* file)
{
    std::string path = std::string(TOLK_DIST_LANG) + file;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

// A loaded module, freed at scope end. Without flags it is loaded as the configuration program
// loads it (LoadLibrary).
class Module {
public:
    explicit Module(const LanguageModule& module, DWORD flags = 0)
        : m_handle(LoadLibraryExA(ModulePath(module.file).c_str(), nullptr, flags))
    {
    }
    ~Module()
    {
        if (m_handle)
            FreeLibrary(m_handle);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    HMODULE Get() const { return m_handle; }

private:
    HMODULE m_handle;
};

// String `id` as stored (UTF-16); empty when the module does not define it.
std::wstring WideText(HMODULE module, UINT id)
{
    wchar_t buffer[1024];
    int length = LoadStringW(module, id, buffer, static_cast<int>(sizeof buffer / sizeof buffer[0]));
    return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

// String `id` as the program reads it: LoadStringA, converted to the ANSI code page.
std::string AnsiText(HMODULE module, UINT id)
{
    char buffer[1024];
    int length = LoadStringA(module, id, buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

BOOL CALLBACK CollectBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT>*>(blocks)->push_back(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::set<LANGID>*>(languages)->insert(language);
    return TRUE;
}

// The string table blocks of the module.
std::vector<UINT> StringBlocks(HMODULE module)
{
    std::vector<UINT> blocks;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, CollectBlock, reinterpret_cast<LONG_PTR>(&blocks));
    return blocks;
}

// Every number the module defines with a non-empty text. String tables are stored in blocks of
// sixteen: block b holds the numbers (b - 1) * 16 to (b - 1) * 16 + 15.
std::set<UINT> DefinedNumbers(HMODULE module)
{
    std::set<UINT> numbers;
    for (UINT block : StringBlocks(module))
        for (UINT id = (block - 1) * 16; id < block * 16; ++id)
            if (!WideText(module, id).empty())
                numbers.insert(id);
    return numbers;
}

std::wstring Widen(const std::string& utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

// `wide` in code page `cp`, converted as LoadStringA converts.
std::string Narrow(const std::wstring& wide, UINT cp)
{
    int length = WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), &narrow[0], length, nullptr, nullptr);
    return narrow;
}

// Whether every character of `wide` has its own place in code page `cp`; a best-fit stand-in (such
// as "L" for "Ł") does not count.
bool FitsCodePage(const std::wstring& wide, UINT cp)
{
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                        &usedDefault);
    return !usedDefault;
}

std::string Utf8(const std::wstring& wide)
{
    return Narrow(wide, CP_UTF8);
}

// Whether `wide` is UTF-8 read as code page `cp`, as "Ã¤" is "ä" read as 1252: its bytes in that code
// page then form valid UTF-8 with letters beyond ASCII. Real text practically never does: its accented
// letters are single bytes, mostly between ASCII ones.
bool IsMisreadUtf8(const std::wstring& wide, UINT cp)
{
    std::string bytes = Narrow(wide, cp);
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            ascii = false;
    return !ascii && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                         nullptr, 0) > 0;
}

std::vector<LanguageModule> AllModules()
{
    std::vector<LanguageModule> all(std::begin(kTranslations), std::end(kTranslations));
    all.push_back(kEnglish);
    return all;
}

TEST(LanguageModules, EnglishDefinesEveryNumberOfTheLanguageTable)
{
    Module english(kEnglish);
    ASSERT_NE(english.Get(), nullptr) << ModulePath(kEnglish.file) << " error " << GetLastError();
    for (UINT id = IDS_LANGUAGE_FIRST; id <= IDS_LANGUAGE_LAST; ++id)
        EXPECT_FALSE(WideText(english.Get(), id).empty()) << "string " << id;
}

TEST(LanguageModules, EveryTranslationDefinesExactlyTheNumbersOfTheEnglishModule)
{
    Module english(kEnglish);
    ASSERT_NE(english.Get(), nullptr);
    std::set<UINT> expected = DefinedNumbers(english.Get());
    ASSERT_GE(expected.size(), static_cast<size_t>(IDS_LANGUAGE_LAST - IDS_LANGUAGE_FIRST + 1));
    for (const LanguageModule& translation : kTranslations) {
        Module module(translation);
        ASSERT_NE(module.Get(), nullptr) << ModulePath(translation.file) << " error " << GetLastError();
        std::set<UINT> defined = DefinedNumbers(module.Get());
        for (UINT id : expected)
            EXPECT_TRUE(defined.count(id)) << translation.file << " lacks string " << id;
        for (UINT id : defined)
            EXPECT_TRUE(expected.count(id)) << translation.file << " has string " << id << ", which English lacks";
    }
}

// The program shows prefix + " : " + hint, so the prefix is a bare word.
TEST(LanguageModules, StatusPrefixIsABareWord)
{
    Module english(kEnglish);
    EXPECT_EQ(AnsiText(english.Get(), IDS_STATUS_PREFIX), "Tip");
    for (const LanguageModule& translation : kTranslations) {
        Module module(translation);
        std::wstring prefix = WideText(module.Get(), IDS_STATUS_PREFIX);
        ASSERT_FALSE(prefix.empty()) << translation.file;
        EXPECT_EQ(prefix.find(L':'), std::wstring::npos) << translation.file << ": " << Utf8(prefix);
        EXPECT_NE(prefix.front(), L' ') << translation.file;
        EXPECT_NE(prefix.back(), L' ') << translation.file;
    }
}

// Slot button n and profile label n must speak of profile n, in every language: a shifted number
// would show the hint of the neighbouring slot.
TEST(LanguageModules, SlotAndProfileNameHintsNameTheirOwnProfile)
{
    for (const LanguageModule& language : AllModules()) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        for (UINT n = 1; n <= 5; ++n) {
            for (UINT first : {UINT{IDS_HINT_SLOT1}, UINT{IDS_HINT_PROFILE_NAME1}}) {
                std::wstring hint = WideText(module.Get(), first + n - 1);
                std::string digits;
                for (wchar_t c : hint)
                    if (c >= L'0' && c <= L'9')
                        digits += static_cast<char>(c);
                EXPECT_EQ(digits, std::to_string(n))
                    << language.file << " string " << first + n - 1 << ": " << Utf8(hint);
            }
        }
    }
}

// Each control has its own hint; two numbers with one text mean a text was copied to the wrong number.
TEST(LanguageModules, NoTwoNumbersShareAText)
{
    for (const LanguageModule& language : AllModules()) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        std::set<std::wstring> seen;
        for (UINT id = IDS_LANGUAGE_FIRST; id <= IDS_LANGUAGE_LAST; ++id) {
            std::wstring text = WideText(module.Get(), id);
            EXPECT_TRUE(seen.insert(text).second) << language.file << " string " << id << ": " << Utf8(text);
        }
    }
}

TEST(LanguageModules, TranslationsAreInTheirOwnLanguage)
{
    Module english(kEnglish);
    ASSERT_NE(english.Get(), nullptr);
    for (const LanguageModule& translation : kTranslations) {
        Module module(translation);
        ASSERT_NE(module.Get(), nullptr) << translation.file;
        int sameAsEnglish = 0;
        for (UINT id = IDS_LANGUAGE_FIRST; id <= IDS_LANGUAGE_LAST; ++id)
            if (WideText(module.Get(), id) == WideText(english.Get(), id))
                ++sameAsEnglish;
        EXPECT_LE(sameAsEnglish, 2) << translation.file << " repeats the English text of that many strings";
    }
}

// Every block of a module's string table is tagged with the module's language and with no other.
TEST(LanguageModules, StringTablesAreTaggedWithTheirModulesLanguage)
{
    for (const LanguageModule& language : AllModules()) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        std::vector<UINT> blocks = StringBlocks(module.Get());
        EXPECT_FALSE(blocks.empty()) << language.file;
        for (UINT block : blocks) {
            std::set<LANGID> languages;
            EnumResourceLanguagesW(module.Get(), MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(block), CollectLanguage,
                                   reinterpret_cast<LONG_PTR>(&languages));
            std::string tags;
            for (LANGID tag : languages)
                tags += " " + std::to_string(tag);
            EXPECT_EQ(languages, std::set<LANGID>{language.language})
                << language.file << " block " << block << " is tagged with language" << tags;
        }
    }
}

// Accented letters survive the way in (UTF-8 source, UTF-16 resource) and the way out (LoadStringA
// into the ANSI code page): with the Western code page 1252 "ä" must come out as the byte 0xE4.
TEST(LanguageModules, AccentedTextsReadBackThroughLoadStringA)
{
    struct Sample {
        LanguageModule module;
        UINT id;
        const char* utf8;
        const char* cp1252;
    };
    const Sample samples[] = {
        {kGerman, IDS_HINT_APPLY,
         "\xC3\x84nderungen \xC3\xBC"
         "bernehmen",
         "\xC4nderungen \xFC"
         "bernehmen"},
        {kGerman, IDS_HINT_CLOSE,
         "Programm schlie\xC3\x9F"
         "en, ohne die \xC3\x84nderungen zu \xC3\xBC"
         "bernehmen",
         "Programm schlie\xDF"
         "en, ohne die \xC4nderungen zu \xFC"
         "bernehmen"},
        {kFrench, IDS_HINT_MINIMIZE,
         "R\xC3\xA9"
         "duire la fen\xC3\xAAtre",
         "R\xE9"
         "duire la fen\xEAtre"},
        {kSpanish, IDS_HINT_KEY_BUTTON, "Haga clic para asignar una funci\xC3\xB3n a esta tecla",
         "Haga clic para asignar una funci\xF3n a esta tecla"},
        {kSpanish, IDS_HINT_KEY_LOCATION,
         "Se\xC3\xB1"
         "ale el bot\xC3\xB3n de una tecla para ver d\xC3\xB3nde est\xC3\xA1 en el teclado",
         "Se\xF1"
         "ale el bot\xF3n de una tecla para ver d\xF3nde est\xE1 en el teclado"},
        {kDanish, IDS_HINT_CLOSE, "Luk programmet uden at anvende \xC3\xA6ndringerne",
         "Luk programmet uden at anvende \xE6ndringerne"},
        {kDanish, IDS_HINT_UPDATE, "S\xC3\xB8g efter driver- og firmwareopdateringer",
         "S\xF8g efter driver- og firmwareopdateringer"},
        {kDanish, IDS_HINT_PROFILE_NAME1, "Navn p\xC3\xA5 profil 1", "Navn p\xE5 profil 1"},
        {kFinnish, IDS_HINT_KEY_SWITCH,
         "Ota t\xC3\xA4m\xC3\xA4 n\xC3\xA4pp\xC3\xA4in k\xC3\xA4ytt\xC3\xB6\xC3\xB6n tai poista se "
         "k\xC3\xA4yt\xC3\xB6st\xC3\xA4",
         "Ota t\xE4m\xE4 n\xE4pp\xE4in k\xE4ytt\xF6\xF6n tai poista se k\xE4yt\xF6st\xE4"},
        {kSwedish, IDS_HINT_RESET, "\xC3\x85terst\xC3\xA4ll standardprofilerna", "\xC5terst\xE4ll standardprofilerna"},
        {kSwedish, IDS_HINT_CANCEL, "F\xC3\xB6rkasta \xC3\xA4ndringarna och st\xC3\xA4ng",
         "F\xF6rkasta \xE4ndringarna och st\xE4ng"},
    };
    const UINT acp = GetACP();
    RecordProperty("AnsiCodePage", static_cast<int>(acp));
    for (const Sample& sample : samples) {
        Module module(sample.module);
        ASSERT_NE(module.Get(), nullptr) << sample.module.file;
        std::wstring wide = WideText(module.Get(), sample.id);
        EXPECT_EQ(Utf8(wide), sample.utf8) << sample.module.file << " string " << sample.id;
        std::string ansi = AnsiText(module.Get(), sample.id);
        EXPECT_EQ(ansi, Narrow(Widen(sample.utf8), CP_ACP)) << sample.module.file << " string " << sample.id;
        if (acp == 1252) {
            EXPECT_EQ(ansi, sample.cp1252) << sample.module.file << " string " << sample.id;
        }
    }
    // Western Windows runs with code page 1252; the byte check above needs it.
    EXPECT_EQ(acp, 1252u) << "the Wine prefix does not use the Western ANSI code page";
}

// Letters beyond the Western code page: stored as UTF-16 exactly as written. LoadStringA can only
// show them with the module's own code page, which the Wine prefix of the tests does not use.
TEST(LanguageModules, CentralEuropeanCyrillicAndTurkishTextsReadBackExactly)
{
    struct Sample {
        LanguageModule module;
        UINT id;
        const char* utf8;
    };
    const Sample samples[] = {
        {kPolish, IDS_STATUS_PREFIX, "Wskaz\xC3\xB3wka"},
        {kPolish, IDS_HINT_KEY_SWITCH,
         "W\xC5\x82\xC4\x85"
         "cz lub wy\xC5\x82\xC4\x85"
         "cz ten klawisz"},
        {kRussian, IDS_STATUS_PREFIX, "\xD0\x9F\xD0\xBE\xD0\xB4\xD1\x81\xD0\xBA\xD0\xB0\xD0\xB7\xD0\xBA\xD0\xB0"},
        {kRussian, IDS_HINT_MINIMIZE,
         "\xD0\xA1\xD0\xB2\xD0\xB5\xD1\x80\xD0\xBD\xD1\x83\xD1\x82\xD1\x8C \xD0\xBE\xD0\xBA\xD0\xBD\xD0\xBE"},
        {kTurkish, IDS_STATUS_PREFIX, "\xC4\xB0pucu"},
        {kTurkish, IDS_HINT_CANCEL, "De\xC4\x9Fi\xC5\x9Fiklikleri iptal et ve kapat"},
        {kTurkish, IDS_HINT_KEY_BUTTON,
         "Bu tu\xC5\x9Fun ne yapaca\xC4\x9F\xC4\xB1n\xC4\xB1 se\xC3\xA7mek i\xC3\xA7in t\xC4\xB1klay\xC4\xB1n"},
    };
    for (const Sample& sample : samples) {
        Module module(sample.module);
        ASSERT_NE(module.Get(), nullptr) << sample.module.file;
        EXPECT_EQ(WideText(module.Get(), sample.id), Widen(sample.utf8))
            << sample.module.file << " string " << sample.id;
    }
}

// Every text must have a place in the ANSI code page of its language, or LoadStringA shows '?' there;
// and it must not be UTF-8 read as that code page ("Ã¤" for "ä").
TEST(LanguageModules, EveryTextIsCleanTextOfItsCodePage)
{
    for (const LanguageModule& language : AllModules()) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        for (UINT id : DefinedNumbers(module.Get())) {
            std::wstring text = WideText(module.Get(), id);
            EXPECT_TRUE(FitsCodePage(text, language.codePage))
                << language.file << " string " << id << " in code page " << language.codePage << ": " << Utf8(text);
            EXPECT_FALSE(IsMisreadUtf8(text, language.codePage))
                << language.file << " string " << id << ": " << Utf8(text);
            for (wchar_t c : text)
                EXPECT_GE(c, L' ') << language.file << " string " << id << " holds a control character";
        }
    }
}

// The status line is the single-line text rectangle (20, 569)-(580, 588) in "Arial" height 12,
// width 6; a longer hint is cut off. The font's default character set is that of the ANSI code page,
// so on Windows in the module's language the line is measured in the character set of its code page.
TEST(LanguageModules, EveryHintFitsTheStatusLine)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const LONG width = 580 - 20;
    for (const LanguageModule& language : AllModules()) {
        CHARSETINFO charset{};
        ASSERT_TRUE(TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<ULONG_PTR>(language.codePage)), &charset,
                                         TCI_SRCCODEPAGE))
            << language.codePage;
        HFONT font = CreateFontA(12, 6, 0, 0, 400, FALSE, FALSE, FALSE, static_cast<BYTE>(charset.ciCharset),
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
        ASSERT_NE(font, nullptr);
        HGDIOBJ oldFont = SelectObject(dc, font);
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        std::wstring prefix = WideText(module.Get(), IDS_STATUS_PREFIX) + L" : ";
        for (UINT id = IDS_STATUS_PREFIX + 1; id <= IDS_LANGUAGE_LAST; ++id) {
            std::wstring line = prefix + WideText(module.Get(), id);
            // The font must have the letters, or the width would be that of stand-in boxes.
            std::vector<WORD> glyphs(line.size());
            ASSERT_NE(GetGlyphIndicesW(dc, line.c_str(), static_cast<int>(line.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS),
                      GDI_ERROR);
            for (size_t i = 0; i < glyphs.size(); ++i)
                EXPECT_NE(glyphs[i], 0xFFFF) << language.file << " string " << id << " letter " << i << " has no glyph";
            SIZE size{};
            ASSERT_TRUE(GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size));
            EXPECT_LE(size.cx, width) << language.file << " string " << id << ": " << Utf8(line);
        }
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    DeleteDC(dc);
}

// Loading a module runs nothing: no entry point, nothing imported. It loads both as the program
// loads it and as a data file.
TEST(LanguageModules, HoldNoCodeToRun)
{
    for (const LanguageModule& language : AllModules()) {
        std::string image = ReadBytes(ModulePath(language.file));
        ASSERT_GE(image.size(), sizeof(IMAGE_DOS_HEADER)) << language.file;
        IMAGE_DOS_HEADER dos;
        std::memcpy(&dos, image.data(), sizeof dos);
        ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE) << language.file;
        // The headers of this build's architecture (PE32+ in a 64-bit build): a module must be built
        // for the program that loads it.
        ASSERT_GE(image.size(), static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS)) << language.file;
        IMAGE_NT_HEADERS nt;
        std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof nt);
        ASSERT_EQ(nt.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE)) << language.file;
#ifdef _WIN64
        EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64) << language.file;
        EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC) << language.file;
#else
        EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_I386) << language.file;
        EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC) << language.file;
#endif
        EXPECT_TRUE(nt.FileHeader.Characteristics & IMAGE_FILE_DLL) << language.file;
        EXPECT_EQ(nt.OptionalHeader.AddressOfEntryPoint, 0u) << language.file;

        Module loaded(language);
        ASSERT_NE(loaded.Get(), nullptr) << language.file << " error " << GetLastError();
        // An imported DLL would have been loaded with the module: the import list must hold only its
        // empty end marker.
        const IMAGE_DATA_DIRECTORY& imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        if (imports.Size != 0) {
            const auto* first = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
                reinterpret_cast<const BYTE*>(loaded.Get()) + imports.VirtualAddress);
            EXPECT_EQ(first->Name, 0u) << language.file << " imports a DLL";
        }
        std::wstring prefix = WideText(loaded.Get(), IDS_STATUS_PREFIX);

        HMODULE handle = LoadLibraryA(ModulePath(language.file).c_str());
        ASSERT_NE(handle, nullptr) << language.file;
        EXPECT_TRUE(FreeLibrary(handle)) << language.file;

        Module data(language, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(data.Get(), nullptr) << language.file << " error " << GetLastError();
        EXPECT_EQ(WideText(data.Get(), IDS_STATUS_PREFIX), prefix) << language.file;
    }
}

} // namespace
