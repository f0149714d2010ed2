// Times saving and loading the macro library and the profile set in a temporary program folder,
// and reading the library one key per file access as the private-profile calls do. Prints a table;
// the figures are for reading, nothing here passes or fails on time. A library that does not load
// back as saved makes the program exit with status 1.

#include "IniFile.h"
#include "Libraries.h"
#include "ProfileStore.h"
#include "Records.h"
#include "Text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kMacrosPerSet = 100;
constexpr int kProfileSetRuns = 21;
constexpr int kKeyByKeyRuns = 3;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Median time of runs calls of work; prepare runs untimed before each call.
double TimeMedian(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        Clock::time_point start = Clock::now();
        work();
        times.push_back(MsSince(start));
    }
    return Median(times);
}

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0 / 1e6; // ru_maxrss counts KiB on Linux
}

// Sizes are in decimal megabytes (10^6 bytes).
double FileMegabytes(const std::string& storePath)
{
    std::error_code ec;
    auto size = fs::file_size(NativePath(storePath), ec);
    return ec ? 0.0 : static_cast<double>(size) / 1e6;
}

// Keys a recorded macro plausibly holds: letters, digits, space, enter, modifiers and mouse buttons.
const uint8_t kMacroKeys[] = {0x04, 0x07,       0x08,        0x09,         0x0A,        0x14,       0x15, 0x16, 0x1A,
                              0x1B, 0x1D,       0x1E,        0x1F,         0x20,        0x21,       0x22, 0x28, 0x29,
                              0x2B, 0x2C,       0x4F,        0x50,         0x51,        0x52,       0xE0, 0xE1, 0xE2,
                              0xE3, kMouseLeft, kMouseRight, kMouseMiddle, kMouseSide1, kMouseSide2};

// A recorded macro: press/release pairs with human-like waits, 200..512 events.
void FillMacro(MacroRecord& macro, int setIndex, int macroIndex, std::mt19937& rng)
{
    std::memset(&macro, 0, sizeof macro);
    CopyToField(macro.Name, "Combo " + std::to_string(setIndex + 1) + "." + std::to_string(macroIndex + 1));
    macro.Loop = std::uniform_int_distribution<int>(1, 10)(rng);
    macro.EventCount = std::uniform_int_distribution<int>(200, kMaxMacroEvents)(rng);
    std::uniform_int_distribution<size_t> pickKey(0, sizeof kMacroKeys - 1);
    std::uniform_int_distribution<int> holdMs(15, 120);
    std::uniform_int_distribution<int> gapMs(5, 400);
    uint8_t key = 0;
    for (int e = 0; e < macro.EventCount; ++e) {
        MacroEvent& ev = macro.Events[e];
        bool press = e % 2 == 0;
        if (press)
            key = kMacroKeys[pickKey(rng)];
        ev.Key = key;
        ev.Action = press ? 0 : 1;
        ev.Delay = static_cast<uint16_t>(press ? holdMs(rng) : gapMs(rng));
    }
}

// macroCount macros in sets of at most kMacrosPerSet.
MacroLibrary BuildLibrary(int macroCount)
{
    std::mt19937 rng(12345u + static_cast<unsigned>(macroCount));
    MacroLibrary list;
    for (int made = 0, s = 0; made < macroCount; ++s) {
        auto set = std::make_unique<MacroSet>();
        char name[32];
        std::snprintf(name, sizeof name, "Game Set %02d", s + 1);
        CopyToField(set->Name, name);
        for (int j = 0; j < kMacrosPerSet && made < macroCount; ++j, ++made) {
            auto macro = std::make_unique<MacroRecord>();
            FillMacro(*macro, s, j, rng);
            set->Elements.push_back(std::move(macro));
        }
        list.push_back(std::move(set));
    }
    return list;
}

bool SameLibrary(const MacroLibrary& a, const MacroLibrary& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t s = 0; s < a.size(); ++s) {
        if (std::memcmp(a[s]->Name, b[s]->Name, sizeof a[s]->Name) != 0 ||
            a[s]->Elements.size() != b[s]->Elements.size())
            return false;
        for (size_t j = 0; j < a[s]->Elements.size(); ++j)
            if (std::memcmp(a[s]->Elements[j].get(), b[s]->Elements[j].get(), sizeof(MacroRecord)) != 0)
                return false;
    }
    return true;
}

// The library read the way the private-profile calls read it: every value is a separate file access
// that opens and parses the whole file again.
MacroLibrary LoadKeyByKey(const std::string& folder)
{
    IniFile file(MacroLibraryPath(folder));
    MacroLibrary list;
    int sets = file.ReadInt("Main", "Count", 0);
    for (int i = 0; i < sets; ++i) {
        auto set = std::make_unique<MacroSet>();
        CopyToField(set->Name, file.ReadString("Main", FormatInt(i), ""));
        list.push_back(std::move(set));
    }
    for (auto& set : list) {
        std::string section(Trim(FieldText(set->Name)));
        int macros = file.ReadInt(section, "Count", 0);
        for (int j = 0; j < macros; ++j) {
            auto macro = std::make_unique<MacroRecord>();
            std::memset(macro.get(), 0, sizeof(MacroRecord));
            file.ReadStruct(section, FormatInt(j), macro.get(), sizeof(MacroRecord));
            set->Elements.push_back(std::move(macro));
        }
    }
    return list;
}

void FillProfileSet(ProfileSet& set)
{
    std::mt19937 rng(777u);
    std::memset(&set, 0, sizeof set);
    SetDefaultProfiles(set);
    set.CurrentProfile = 3;
    for (int i = 0; i < kProfileCount; ++i) {
        Profile& p = set.Profiles[i];
        CopyToField(p.Name, "Raid Night " + std::to_string(i + 1));
        CopyToField(p.GameFile0, "C:\\Games\\Realm\\bin\\realm" + std::to_string(i) + ".exe");
        CopyToField(p.GameFile1, "C:\\Program Files\\Arena Tactics\\arena.exe");
        CopyToField(p.GameFile2, "D:\\Steam\\steamapps\\common\\Skyfall\\skyfall_x64.exe");
        p.Mode = static_cast<KeyboardMode>(2);
        p.MediaOption = 1;
        for (int k = 0; k < kKeyCount; ++k) {
            p.KeyFlags[k] = static_cast<KeySwitch>(k % 2);
            ButtonInfo& b = p.Buttons[k];
            std::memset(&b, 0, sizeof b);
            b.KeyNumber = static_cast<uint8_t>(k + 1);
            b.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
            CopyToField(b.MacroSetName, "Game Set 01");
            MacroRecord macro;
            FillMacro(macro, i, k, rng);
            CopyToField(b.MacroName, FieldText(macro.Name));
            b.MacroLoop = macro.Loop;
            b.MacroEventCount = static_cast<uint16_t>(macro.EventCount);
            std::memcpy(b.MacroEvents, macro.Events, sizeof b.MacroEvents);
            CopyToField(b.TimerName, "Buff " + std::to_string(k));
            b.TimerSeconds = 30 * (k + 1);
        }
    }
}

class ProgramFolder {
public:
    ProgramFolder()
    {
        fs::path base = fs::temp_directory_path() / ("tolk-bench-" + std::to_string(getpid()));
        fs::remove_all(base);
        fs::create_directories(base);
        m_path = base.string() + "/";
    }
    ~ProgramFolder()
    {
        std::error_code ec;
        fs::remove_all(fs::path(m_path), ec);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

struct LibraryCase {
    int macros;
    int runs;
};

} // namespace

int main()
{
    ProgramFolder folder;
    const std::string& dir = folder.Path();
    bool allSame = true;
    Clock::time_point total = Clock::now();

    std::printf("Profile store benchmark (program folder %s)\n\n", dir.c_str());
    std::printf("Macro library: SaveMacroLibrary / LoadMacroLibrary, median of runs\n");
    std::printf("%8s %5s %5s %9s %10s %10s %12s %12s\n", "macros", "sets", "runs", "file MB", "save ms", "load ms",
                "save us/mac", "load us/mac");

    const LibraryCase cases[] = {{10, 21}, {100, 21}, {1000, 9}, {5100, 5}};
    double bulkLoad1000 = 0;
    double peakAfterBuild = 0, peakAfterSave = 0, peakAfterLoad = 0;
    for (const LibraryCase& c : cases) {
        MacroLibrary library = BuildLibrary(c.macros);
        if (c.macros == 5100)
            peakAfterBuild = PeakMegabytes();
        double saveMs = TimeMedian(
            c.runs, [] {}, [&] { SaveMacroLibrary(library, dir); });
        if (c.macros == 5100)
            peakAfterSave = PeakMegabytes();
        MacroLibrary loaded;
        double loadMs = TimeMedian(
            c.runs, [&] { FreeMacroLibrary(loaded); }, [&] { LoadMacroLibrary(loaded, dir); });
        if (c.macros == 5100)
            peakAfterLoad = PeakMegabytes();
        bool same = SameLibrary(library, loaded);
        allSame = allSame && same;
        std::printf("%8d %5zu %5d %9.2f %10.2f %10.2f %12.1f %12.1f%s\n", c.macros, library.size(), c.runs,
                    FileMegabytes(MacroLibraryPath(dir)), saveMs, loadMs, 1000.0 * saveMs / c.macros,
                    1000.0 * loadMs / c.macros, same ? "" : "  LOADED LIBRARY DIFFERS");
        std::fflush(stdout);
        if (c.macros == 1000) {
            bulkLoad1000 = loadMs;
            MacroLibrary keyByKey;
            double baselineMs = TimeMedian(
                kKeyByKeyRuns, [&] { FreeMacroLibrary(keyByKey); }, [&] { keyByKey = LoadKeyByKey(dir); });
            bool baselineSame = SameLibrary(library, keyByKey);
            allSame = allSame && baselineSame;
            std::printf("         1000 macros read one key per file access (median of %d runs): %.1f ms, "
                        "%.1f x the bulk load%s\n",
                        kKeyByKeyRuns, baselineMs, baselineMs / bulkLoad1000,
                        baselineSame ? "" : "  LOADED LIBRARY DIFFERS");
            std::fflush(stdout);
        }
    }
    std::printf("\nPeak resident memory (ru_maxrss): %.1f MB after building the 5100-macro library, "
                "%.1f MB after its saves, %.1f MB after its loads\n",
                peakAfterBuild, peakAfterSave, peakAfterLoad);

    ProfileSet saved;
    FillProfileSet(saved);
    ProfileSet loadedSet;
    double saveSetMs = TimeMedian(
        kProfileSetRuns, [] {}, [&] { SaveProfileSet(saved, dir); });
    double loadSetMs = TimeMedian(
        kProfileSetRuns, [&] { ClearProfileSet(loadedSet); }, [&] { LoadProfileSet(loadedSet, dir); });
    bool setSame = std::memcmp(&saved, &loadedSet, sizeof saved) == 0;
    allSame = allSame && setSame;
    double setMb = FileMegabytes(ConfigIniPath(dir));
    for (const Profile& p : saved.Profiles)
        setMb += FileMegabytes(ProfilePath(dir, FieldText(p.Name)));
    std::printf("\nProfile set (config.ini + 5 profile files, %.2f MB), median of %d runs: "
                "SaveProfileSet %.2f ms, LoadProfileSet %.2f ms%s\n",
                setMb, kProfileSetRuns, saveSetMs, loadSetMs, setSame ? "" : "  LOADED SET DIFFERS");

    std::printf("\nTotal benchmark time: %.1f s\n", MsSince(total) / 1000.0);
    return allSame ? 0 : 1;
}
