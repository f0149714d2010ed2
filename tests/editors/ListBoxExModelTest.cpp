#include "ListBoxExModel.h"

#include <gtest/gtest.h>

#include <optional>

#include <string>

namespace {

// A list of three rows, "One" selected; "Two" carries a picture.
ListBoxExModel ThreeRows()
{
    ListBoxExModel list;
    list.AddRow("One", RowValue(1, ListRowPicture::None));
    list.AddRow("Two", RowValue(2, ListRowPicture::Pause));
    list.AddRow("Three", RowValue(3, ListRowPicture::None));
    list.Select(0);
    return list;
}

} // namespace

TEST(ListBoxExRowValue, KeepsTheOwnersPartApartFromThePicture)
{
    const uint32_t value = RowValue(0xFFFF, ListRowPicture::Mouse);
    EXPECT_EQ(RowOwnerPart(value), 0xFFFF);
    EXPECT_EQ(RowPicture(value), ListRowPicture::Mouse);
    EXPECT_EQ(RowPicture(RowValue(7, ListRowPicture::None)), ListRowPicture::None);
    EXPECT_EQ(RowOwnerPart(RowValue(7, ListRowPicture::KeyRelease)), 7);
}

TEST(ListBoxExNewEntry, OpensAnEmptyNameEditOverANewLastRow)
{
    ListBoxExModel list = ThreeRows();
    ASSERT_TRUE(list.BeginNewEntry());
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(*list.RowAt(3), (ListRow{"", 0}));
    ASSERT_TRUE(list.Edit());
    EXPECT_EQ(list.Edit()->row, 3);
    EXPECT_EQ(list.Edit()->limit, 24u);
    EXPECT_FALSE(list.Edit()->digitsOnly);
    EXPECT_EQ(list.Edit()->text, "");
    // One edit at a time: a second request changes nothing.
    EXPECT_FALSE(list.BeginNewEntry());
    EXPECT_FALSE(list.BeginEditSelected());
    EXPECT_EQ(list.Count(), 4);
}

TEST(ListBoxExNewEntry, EnterKeepsTheNameSelectsTheRowAndReportsIt)
{
    ListBoxExModel list = ThreeRows();
    list.BeginNewEntry();
    EXPECT_EQ(list.EndEdit(ListEditEnd::Enter, "Four"), 3);
    EXPECT_EQ(list.RowAt(3)->text, "Four");
    EXPECT_EQ(list.Selection(), 3);
    EXPECT_FALSE(list.Edit());
}

TEST(ListBoxExNewEntry, FocusLossKeepsTheNameButNotTheSelection)
{
    ListBoxExModel list = ThreeRows();
    list.BeginNewEntry();
    EXPECT_EQ(list.EndEdit(ListEditEnd::FocusLost, "Four"), 3);
    EXPECT_EQ(list.RowAt(3)->text, "Four");
    EXPECT_EQ(list.Selection(), 0);
}

TEST(ListBoxExNewEntry, AnEmptyOrEscapedEntryIsRemovedAndNotReported)
{
    for (ListEditEnd how : {ListEditEnd::Enter, ListEditEnd::FocusLost}) {
        ListBoxExModel list = ThreeRows();
        list.BeginNewEntry();
        EXPECT_EQ(list.EndEdit(how, ""), std::nullopt);
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(list.Selection(), 0);
        EXPECT_FALSE(list.Edit());
    }
    ListBoxExModel list = ThreeRows();
    list.BeginNewEntry();
    EXPECT_EQ(list.EndEdit(ListEditEnd::Escape, "Typed"), std::nullopt);
    EXPECT_EQ(list.Count(), 3);
    // A new edit can start again afterwards.
    EXPECT_TRUE(list.BeginNewEntry());
}

TEST(ListBoxExRowEdit, EditsTheSelectedRowAsDigitsAfterItsPicture)
{
    ListBoxExModel list = ThreeRows();
    list.Select(1);
    ASSERT_TRUE(list.BeginEditSelected());
    EXPECT_EQ(list.Edit()->row, 1);
    EXPECT_EQ(list.Edit()->limit, 20u);
    EXPECT_TRUE(list.Edit()->digitsOnly);
    EXPECT_TRUE(list.Edit()->afterPicture);
    EXPECT_EQ(list.Edit()->text, "Two");
    EXPECT_EQ(list.Count(), 3); // no row is added

    EXPECT_EQ(list.EndEdit(ListEditEnd::FocusLost, "250"), 1);
    EXPECT_EQ(*list.RowAt(1), (ListRow{"250", RowValue(2, ListRowPicture::Pause)}));

    list.Select(0);
    ASSERT_TRUE(list.BeginEditSelected());
    EXPECT_FALSE(list.Edit()->afterPicture);
}

TEST(ListBoxExRowEdit, NothingOpensWithoutASelection)
{
    ListBoxExModel list = ThreeRows();
    list.Select(-1);
    EXPECT_FALSE(list.BeginEditSelected());
    EXPECT_FALSE(list.Edit());
    list.Select(7); // no such row
    EXPECT_EQ(list.Selection(), -1);
    EXPECT_FALSE(list.BeginEditSelected());
}

TEST(ListBoxExRowEdit, AnEmptiedOrEscapedEditKeepsTheRow)
{
    for (ListEditEnd how : {ListEditEnd::Enter, ListEditEnd::Escape}) {
        ListBoxExModel list = ThreeRows();
        list.Select(2);
        list.BeginEditSelected();
        EXPECT_EQ(list.EndEdit(how, how == ListEditEnd::Escape ? "99" : ""), std::nullopt);
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(list.RowAt(2)->text, "Three");
    }
}

TEST(ListBoxExRowEdit, OnlyTheFirst4096CharactersAreRead)
{
    ListBoxExModel list = ThreeRows();
    list.BeginEditSelected();
    list.EndEdit(ListEditEnd::Enter, std::string(5000, '7'));
    EXPECT_EQ(list.RowAt(0)->text, std::string(4096, '7'));
}

TEST(ListBoxExRows, DeletingARowMovesTheSelectionWithItsRow)
{
    ListBoxExModel list = ThreeRows();
    list.Select(2);
    list.DeleteRow(0);
    EXPECT_EQ(list.Selection(), 1);
    EXPECT_EQ(list.RowAt(1)->text, "Three");
    list.DeleteRow(1);
    EXPECT_EQ(list.Selection(), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Caret(), -1);
}
