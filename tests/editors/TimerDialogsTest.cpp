#include "CountdownTimerModel.h"
#include "EditTimerModel.h"
#include "SpinModel.h"
#include "Text.h"
#include "TimerRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

namespace {

std::unique_ptr<TimerRecord> Timer(int seconds, const std::string& name)
{
    auto t = std::make_unique<TimerRecord>();
    std::memset(t.get(), 0, sizeof(TimerRecord));
    t->Seconds = seconds;
    CopyToField(t->Name, name);
    return t;
}

TimerLibrary Timers(std::initializer_list<std::pair<int, const char*>> timers)
{
    TimerLibrary list;
    for (const auto& [seconds, name] : timers)
        list.push_back(Timer(seconds, name));
    return list;
}

// Timers "T0", "T1", ... of 10, 11, ... seconds.
TimerLibrary NumberedTimers(int count)
{
    TimerLibrary list;
    for (int i = 0; i < count; ++i)
        list.push_back(Timer(10 + i, "T" + std::to_string(i)));
    return list;
}

std::string NameOf(const TimerLibrary& timers, size_t i)
{
    return std::string(FieldText(timers[i]->Name));
}

// The length field of a timer dialog, as the dialog sets it up, reporting to model.
template <class Model>
struct LengthField {
    Model& model;
    SpinModel spin;
    LengthField(Model& m, int32_t shown) : model(m)
    {
        spin.SetRange(kTimerMinSeconds, kTimerMaxSeconds);
        spin.SetValue(shown);
    }
    void Report(const SpinChange& change)
    {
        if (change.reported)
            model.SpinReported(*change.reported, kTimerLengthFieldId);
    }
    void Type(const char* text) { Report(spin.Typed(text)); }
    void Enter() { Report(spin.Enter()); }
};

} // namespace

TEST(TimerLimits, A51stTimerCanBeCreatedButNotA52nd)
{
    EXPECT_FALSE(TimerEditingAllowed(TimerLibrary()));
    EXPECT_TRUE(TimerCreationAllowed(TimerLibrary()));

    TimerLibrary timers = NumberedTimers(50);
    EXPECT_TRUE(TimerCreationAllowed(timers));
    EXPECT_TRUE(TimerEditingAllowed(timers));
    CountdownTimerModel create(timers);
    create.NameChanged("Fifty-one");
    EXPECT_TRUE(create.Ok());

    timers.push_back(Timer(30, "Fifty-one"));
    EXPECT_FALSE(TimerCreationAllowed(timers));
    CountdownTimerModel full(timers);
    full.NameChanged("Fifty-two");
    EXPECT_FALSE(full.Ok());
}

TEST(CountdownTimerDialog, AcceptsOnlyANewNameTrimmedWithTheLengthShown)
{
    TimerLibrary timers = Timers({{30, "Tea"}, {300, "Pizza"}});
    CountdownTimerModel dlg(timers);
    EXPECT_EQ(dlg.NameText(), "");
    EXPECT_EQ(dlg.Length(), 30);

    // Empty, blank and existing names (letter case and outer blanks aside) keep the dialog open.
    for (const char* name : {"", "   ", "tea", "  TEA\t", "Pizza "}) {
        dlg.NameChanged(name);
        EXPECT_FALSE(dlg.Ok()) << '"' << name << '"';
    }

    dlg.NameChanged("  Green tea ");
    ASSERT_TRUE(dlg.Ok());
    EXPECT_EQ(dlg.Name(), "Green tea");
    EXPECT_EQ(dlg.Seconds(), 30);
    EXPECT_EQ(timers.size(), 2u); // the caller appends it
}

TEST(CountdownTimerDialog, NamesCompareInTheAnsiCodePageAndAreCutAtTheFieldLimit)
{
    TimerLibrary timers = Timers({{30, "\xC4pfel"}}); // "Äpfel"
    CountdownTimerModel dlg(timers);
    dlg.NameChanged("\xE4pfel"); // "äpfel"
    EXPECT_FALSE(dlg.Ok());

    dlg.NameChanged("abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(dlg.NameText(), "abcdefghijklmnopqrstuvwxy");
    ASSERT_TRUE(dlg.Ok());
    EXPECT_EQ(dlg.Name(), "abcdefghijklmnopqrstuvwxy");
}

TEST(CountdownTimerDialog, TheLengthComesFromTheLengthFieldWithinTheRange)
{
    TimerLibrary timers;
    CountdownTimerModel dlg(timers);
    dlg.NameChanged("Egg");
    LengthField<CountdownTimerModel> field(dlg, dlg.Length());

    // Five and Enter: the field shows 10 and the timer gets 10.
    field.Type("5");
    field.Enter();
    EXPECT_EQ(field.spin.Text(), "10");
    ASSERT_TRUE(dlg.Ok());
    EXPECT_EQ(dlg.Seconds(), 10);

    // Five without Enter: OK still takes at least 10.
    field.Type("5");
    EXPECT_EQ(dlg.Length(), 5);
    ASSERT_TRUE(dlg.Ok());
    EXPECT_EQ(dlg.Seconds(), 10);

    field.Type("1,500");
    ASSERT_TRUE(dlg.Ok());
    EXPECT_EQ(dlg.Seconds(), 999);

    field.Type("120");
    dlg.SpinReported(7, kTimerLengthFieldId + 1); // another spin field of the dialog
    ASSERT_TRUE(dlg.Ok());
    EXPECT_EQ(dlg.Seconds(), 120);
}

TEST(EditTimerDialog, ShowsTheFirstTimerAndTheOneChosenFromTheMenu)
{
    TimerLibrary timers = Timers({{30, "Tea"}, {300, "Pizza"}, {45, "Egg"}});
    EditTimerModel dlg(timers);
    EXPECT_EQ(dlg.ShownIndex(), 0);
    EXPECT_EQ(dlg.NameText(), "Tea");
    EXPECT_EQ(dlg.Caption(), "Tea");
    EXPECT_EQ(dlg.Length(), 30);

    const std::vector<MenuItem> menu = dlg.TimerMenu().items;
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].id, 1000);
    EXPECT_EQ(menu[2].id, 1002);
    EXPECT_EQ(menu[2].text, "Egg");

    EXPECT_TRUE(dlg.MenuChosen(1002));
    EXPECT_EQ(dlg.ShownIndex(), 2);
    EXPECT_EQ(dlg.NameText(), "Egg");
    EXPECT_EQ(dlg.Caption(), "Egg");
    EXPECT_EQ(dlg.Length(), 45);

    EXPECT_FALSE(dlg.MenuChosen(999));
    EXPECT_FALSE(dlg.MenuChosen(1051));
    EXPECT_EQ(dlg.ShownIndex(), 2);
}

TEST(EditTimerDialog, TheMenuOffersTheFirst51Timers)
{
    TimerLibrary timers = NumberedTimers(53); // only a hand-edited file holds more than 51
    EditTimerModel dlg(timers);
    const std::vector<MenuItem> menu = dlg.TimerMenu().items;
    ASSERT_EQ(menu.size(), 51u);
    EXPECT_EQ(menu.back().id, 1050);
    EXPECT_EQ(menu.back().text, "T50");
    EXPECT_TRUE(dlg.MenuChosen(1050));
    EXPECT_EQ(dlg.NameText(), "T50");
}

TEST(EditTimerDialog, ApplyRenamesOrChangesTheLengthOfTheShownTimerOnly)
{
    TimerLibrary timers = Timers({{30, "Tea"}, {300, "Pizza"}, {45, "Egg"}});
    EditTimerModel dlg(timers);

    // Its own name in other letter case: only the length changes; the stored name keeps its case.
    dlg.NameChanged("  tEA ");
    dlg.SpinReported(60, kTimerLengthFieldId);
    EXPECT_TRUE(dlg.Apply());
    EXPECT_EQ(NameOf(timers, 0), "Tea");
    EXPECT_EQ(timers[0]->Seconds, 60);

    // Another timer's name: nothing changes.
    dlg.NameChanged("pizza");
    dlg.SpinReported(90, kTimerLengthFieldId);
    EXPECT_FALSE(dlg.Apply());
    EXPECT_EQ(NameOf(timers, 0), "Tea");
    EXPECT_EQ(timers[0]->Seconds, 60);
    EXPECT_EQ(NameOf(timers, 1), "Pizza");
    EXPECT_EQ(timers[1]->Seconds, 300);

    // An empty name: nothing changes.
    dlg.NameChanged("   ");
    EXPECT_FALSE(dlg.Apply());
    EXPECT_EQ(NameOf(timers, 0), "Tea");
    EXPECT_EQ(timers[0]->Seconds, 60);

    // A new name, trimmed, with the length; the timer is shown again under it.
    dlg.NameChanged(" Green tea ");
    EXPECT_TRUE(dlg.Apply());
    EXPECT_EQ(NameOf(timers, 0), "Green tea");
    EXPECT_EQ(timers[0]->Seconds, 90);
    EXPECT_EQ(dlg.NameText(), "Green tea");
    EXPECT_EQ(dlg.Caption(), "Green tea");
    EXPECT_EQ(timers.size(), 3u);
    EXPECT_EQ(NameOf(timers, 2), "Egg");
}

TEST(EditTimerDialog, ALengthTypedBelowTheMinimumIsStoredAsTheMinimumAndShown)
{
    TimerLibrary timers = Timers({{30, "Tea"}});
    EditTimerModel dlg(timers);
    LengthField<EditTimerModel> field(dlg, dlg.Length());
    field.Type("5");
    EXPECT_TRUE(dlg.Apply()); // the fields show the stored timer again
    EXPECT_EQ(timers[0]->Seconds, 10);
    EXPECT_EQ(dlg.Length(), 10);

    field.Type("1,500");
    dlg.Ok();
    EXPECT_EQ(timers[0]->Seconds, 999);
    EXPECT_EQ(NameOf(timers, 0), "Tea");
}

TEST(EditTimerDialog, DeleteShowsTheTimerNowAtItsPlaceOrTheNewLast)
{
    TimerLibrary timers = Timers({{30, "Tea"}, {300, "Pizza"}, {45, "Egg"}});
    EditTimerModel dlg(timers);

    // The middle one: the next one moves up into the shown place.
    dlg.MenuChosen(1001);
    ASSERT_TRUE(dlg.CanDelete());
    dlg.DeleteConfirmed();
    ASSERT_EQ(timers.size(), 2u);
    EXPECT_EQ(NameOf(timers, 0), "Tea");
    EXPECT_EQ(NameOf(timers, 1), "Egg");
    EXPECT_EQ(dlg.ShownIndex(), 1);
    EXPECT_EQ(dlg.NameText(), "Egg");
    EXPECT_EQ(dlg.Length(), 45);

    // The last one: the new last is shown.
    dlg.DeleteConfirmed();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(dlg.ShownIndex(), 0);
    EXPECT_EQ(dlg.NameText(), "Tea");
    EXPECT_EQ(dlg.Caption(), "Tea");
    EXPECT_EQ(dlg.Length(), 30);

    // The only one: an empty name and length 10, and nothing left to delete or apply.
    dlg.DeleteConfirmed();
    EXPECT_TRUE(timers.empty());
    EXPECT_EQ(dlg.ShownIndex(), -1);
    EXPECT_EQ(dlg.NameText(), "");
    EXPECT_EQ(dlg.Caption(), "");
    EXPECT_EQ(dlg.Length(), 10);
    EXPECT_FALSE(dlg.CanDelete());
    dlg.DeleteConfirmed();
    dlg.NameChanged("New");
    EXPECT_FALSE(dlg.Apply());
    EXPECT_TRUE(timers.empty());
}

TEST(EditTimerDialog, ATimerChosenBeyondTheListShowsEmptyAndApplyChangesNothing)
{
    TimerLibrary timers = Timers({{30, "Tea"}, {300, "Pizza"}});
    EditTimerModel dlg(timers);
    EXPECT_TRUE(dlg.MenuChosen(1005));
    EXPECT_EQ(dlg.NameText(), "");
    EXPECT_EQ(dlg.Length(), 10);
    dlg.NameChanged("Coffee");
    EXPECT_FALSE(dlg.Apply());
    EXPECT_EQ(NameOf(timers, 0), "Tea");
    EXPECT_EQ(NameOf(timers, 1), "Pizza");

    // Delete from there takes nothing away and shows the last timer.
    dlg.DeleteConfirmed();
    EXPECT_EQ(timers.size(), 2u);
    EXPECT_EQ(dlg.ShownIndex(), 1);
    EXPECT_EQ(dlg.NameText(), "Pizza");
}

TEST(EditTimerDialog, AnEmptyLibraryShowsNoTimer)
{
    TimerLibrary timers;
    EditTimerModel dlg(timers);
    EXPECT_EQ(dlg.NameText(), "");
    EXPECT_EQ(dlg.Length(), 10);
    EXPECT_TRUE(dlg.TimerMenu().items.empty());
    EXPECT_FALSE(dlg.CanDelete());
}
