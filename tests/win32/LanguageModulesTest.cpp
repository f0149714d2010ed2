// The language modules of the program folder's lang folder: resource-only DLLs from which the
// configuration program takes every user-visible text by number (LanguageStrings.h). A number
// missing from a module shows as an empty hint, a wrong number as the hint of another control, and a
// text stored in the wrong encoding as garbled letters; these tests look for each.
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
};

const LanguageModule kEnglish{"Eng.dll", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)};
const LanguageModule kTranslations[] = {
    {"German.dll", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)},
    {"French.dll", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)},
    {"Spanish.dll", MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)},
};

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

// Every number the module defines with a non-empty text. String tables are stored in blocks of
// sixteen: block b holds the numbers (b - 1) * 16 to (b - 1) * 16 + 15.
std::set<UINT> DefinedNumbers(HMODULE module)
{
    std::vector<UINT> blocks;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, CollectBlock, reinterpret_cast<LONG_PTR>(&blocks));
    std::set<UINT> numbers;
    for (UINT block : blocks)
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

std::string Utf8(const std::wstring& wide) { return Narrow(wide, CP_UTF8); }

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
        std::string prefix = AnsiText(module.Get(), IDS_STATUS_PREFIX);
        ASSERT_FALSE(prefix.empty()) << translation.file;
        EXPECT_EQ(prefix.find(':'), std::string::npos) << translation.file << ": " << prefix;
        EXPECT_NE(prefix.front(), ' ') << translation.file;
        EXPECT_NE(prefix.back(), ' ') << translation.file;
    }
}

// Slot button n and profile label n must speak of profile n, in every language: a shifted number
// would show the hint of the neighbouring slot.
TEST(LanguageModules, SlotAndProfileNameHintsNameTheirOwnProfile)
{
    std::vector<LanguageModule> all(std::begin(kTranslations), std::end(kTranslations));
    all.push_back(kEnglish);
    for (const LanguageModule& language : all) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        for (UINT n = 1; n <= 5; ++n) {
            for (UINT first : {UINT{IDS_HINT_SLOT1}, UINT{IDS_HINT_PROFILE_NAME1}}) {
                std::string hint = AnsiText(module.Get(), first + n - 1);
                std::string digits;
                for (char c : hint)
                    if (c >= '0' && c <= '9')
                        digits += c;
                EXPECT_EQ(digits, std::to_string(n)) << language.file << " string " << first + n - 1 << ": " << hint;
            }
        }
    }
}

// Each control has its own hint; two numbers with one text mean a text was copied to the wrong number.
TEST(LanguageModules, NoTwoNumbersShareAText)
{
    std::vector<LanguageModule> all(std::begin(kTranslations), std::end(kTranslations));
    all.push_back(kEnglish);
    for (const LanguageModule& language : all) {
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
        // The string table is tagged with the module's language and with no other.
        EXPECT_NE(FindResourceExW(module.Get(), MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(IDS_STATUS_PREFIX / 16 + 1),
                                  translation.language),
                  nullptr)
            << translation.file;
        EXPECT_EQ(FindResourceExW(module.Get(), MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(IDS_STATUS_PREFIX / 16 + 1),
                                  kEnglish.language),
                  nullptr)
            << translation.file;
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
        {kTranslations[0], IDS_HINT_APPLY, "\xC3\x84nderungen \xC3\xBC" "bernehmen", "\xC4nderungen \xFC" "bernehmen"},
        {kTranslations[0], IDS_HINT_CLOSE, "Programm schlie\xC3\x9F" "en, ohne die \xC3\x84nderungen zu \xC3\xBC" "bernehmen",
         "Programm schlie\xDF" "en, ohne die \xC4nderungen zu \xFC" "bernehmen"},
        {kTranslations[1], IDS_HINT_MINIMIZE, "R\xC3\xA9" "duire la fen\xC3\xAAtre", "R\xE9" "duire la fen\xEAtre"},
        {kTranslations[2], IDS_HINT_KEY_BUTTON, "Haga clic para asignar una funci\xC3\xB3n a esta tecla",
         "Haga clic para asignar una funci\xF3n a esta tecla"},
        {kTranslations[2], IDS_HINT_KEY_LOCATION, "Se\xC3\xB1" "ale el bot\xC3\xB3n de una tecla para ver d\xC3\xB3nde est\xC3\xA1 en el teclado",
         "Se\xF1" "ale el bot\xF3n de una tecla para ver d\xF3nde est\xE1 en el teclado"},
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
    // German, French and Spanish Windows run with code page 1252; the byte check above needs it.
    EXPECT_EQ(acp, 1252u) << "the Wine prefix does not use the Western ANSI code page";
}

// Every text must have a place in code page 1252, the ANSI code page of English, German, French and
// Spanish Windows, or LoadStringA shows '?' there; and it must not be UTF-8 read as 1252 ("Ã¤").
TEST(LanguageModules, EveryTextIsCleanWesternText)
{
    std::vector<LanguageModule> all(std::begin(kTranslations), std::end(kTranslations));
    all.push_back(kEnglish);
    for (const LanguageModule& language : all) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        for (UINT id : DefinedNumbers(module.Get())) {
            std::wstring text = WideText(module.Get(), id);
            EXPECT_TRUE(FitsCodePage(text, 1252)) << language.file << " string " << id << ": " << Utf8(text);
            EXPECT_EQ(text.find(L'\u00C3'), std::wstring::npos) << language.file << " string " << id << ": " << Utf8(text);
            for (wchar_t c : text)
                EXPECT_GE(c, L' ') << language.file << " string " << id << " holds a control character";
        }
    }
}

// The status line is the single-line text rectangle (20, 569)-(580, 588) in "Arial" height 12,
// width 6; a longer hint is cut off.
TEST(LanguageModules, EveryHintFitsTheStatusLine)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HFONT font = CreateFontA(12, 6, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    ASSERT_NE(font, nullptr);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const LONG width = 580 - 20;
    std::vector<LanguageModule> all(std::begin(kTranslations), std::end(kTranslations));
    all.push_back(kEnglish);
    for (const LanguageModule& language : all) {
        Module module(language);
        ASSERT_NE(module.Get(), nullptr) << language.file;
        std::string prefix = AnsiText(module.Get(), IDS_STATUS_PREFIX) + " : ";
        for (UINT id = IDS_STATUS_PREFIX + 1; id <= IDS_LANGUAGE_LAST; ++id) {
            std::string line = prefix + AnsiText(module.Get(), id);
            SIZE size{};
            ASSERT_TRUE(GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size));
            EXPECT_LE(size.cx, width) << language.file << " string " << id << ": " << line;
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DeleteDC(dc);
}

// Loading a module runs nothing: no entry point, nothing imported. It loads both as the program
// loads it and as a data file.
TEST(LanguageModules, HoldNoCodeToRun)
{
    std::vector<LanguageModule> all(std::begin(kTranslations), std::end(kTranslations));
    all.push_back(kEnglish);
    for (const LanguageModule& language : all) {
        std::string image = ReadBytes(ModulePath(language.file));
        ASSERT_GE(image.size(), sizeof(IMAGE_DOS_HEADER)) << language.file;
        IMAGE_DOS_HEADER dos;
        std::memcpy(&dos, image.data(), sizeof dos);
        ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE) << language.file;
        ASSERT_GE(image.size(), static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS32)) << language.file;
        IMAGE_NT_HEADERS32 nt;
        std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof nt);
        ASSERT_EQ(nt.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE)) << language.file;
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

}  // namespace
