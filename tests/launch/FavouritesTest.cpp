#include "launch/Favourites.h"

#include "launch/FavouriteListEdit.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

SettingsStore::Entries stored(const SettingsStore &store, const QString &section)
{
    return store.all(SettingsStore::AppName, section);
}

void put(SettingsStore &store, const QString &section, const SettingsStore::Entries &entries)
{
    for (const auto &[key, value] : entries)
        store.save(SettingsStore::AppName, section, key, value);
}

TEST(Favourites, aListEndsAtItsFirstGapAndIsRewrittenDense)
{
    TempHome home;
    SettingsStore store;
    put(store, "Site", {{"Site0", "News,https://news.example"}, {"Site2", "Later,https://later"}});
    EXPECT_EQ(Favourites::read(store, "site"), (FavouriteList{{"News", "https://news.example"}}));
    FavouriteListEdit list(store, "Site");
    ASSERT_TRUE(list.save());
    EXPECT_EQ(stored(store, "Site"),
              (SettingsStore::Entries{{"Site0", "News,https://news.example"}}));

    put(store, "Site", {{"Site0", ""}, {"Site1", "Hidden,x"}});
    EXPECT_TRUE(Favourites::read(store, "Site").isEmpty());
    EXPECT_TRUE(Favourites::read(store, "Dir").isEmpty());
}

TEST(Favourites, theFirstCommaSplitsNameFromTarget)
{
    TempHome home;
    SettingsStore store;
    put(store, "Dir",
        {{"Dir0", "Network,/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
         {"Dir1", "No target"},
         {"Dir2", "Empty,"}});
    const FavouriteList list = Favourites::read(store, "Dir");
    EXPECT_EQ(list, (FavouriteList{{"Network", "/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
                                   {"No target", ""},
                                   {"Empty", ""}}));
    // Read and written back unchanged, the network view keeps its explorer form.
    FavouriteListEdit edit(store, "dir");
    ASSERT_TRUE(edit.save());
    EXPECT_EQ(stored(store, "Dir").first().second,
              "Network,/e,::{208D2C60-3AEA-1069-A2D7-08002B30309D}");
    EXPECT_EQ(stored(store, "Dir").at(1).second, "No target,");
}

TEST(Favourites, targetsAreFoundByNameIgnoringCaseEarliestFirst)
{
    TempHome home;
    SettingsStore store;
    Favourites::write(
            store, "Pro",
            {{"Calculator", "gnome-calculator"}, {"Straße", "*.odt"}, {"CALCULATOR", "xcalc"}});
    EXPECT_EQ(Favourites::FindFavouriteTarget(store, "pro", "calculator"), "gnome-calculator");
    EXPECT_EQ(Favourites::FindFavouriteTarget(store, "PRO", "STRASSE"), "*.odt");
    EXPECT_EQ(Favourites::FindFavouriteTarget(store, "Pro", "straße"), "*.odt");
    EXPECT_EQ(Favourites::FindFavouriteTarget(store, "Pro", "Missing"), QString());
    EXPECT_EQ(Favourites::FindFavouriteTarget(store, "Dir", "Calculator"), QString());
}

TEST(FavouriteListEdit, commandsChangeOnlyTheWorkingCopyUntilSaved)
{
    TempHome home;
    SettingsStore store;
    Favourites::write(store, "Pro", {{"A", "a"}, {"B", "b"}, {"C", "c"}});
    FavouriteListEdit list(store, "Pro");

    EXPECT_TRUE(list.remove(1));
    EXPECT_FALSE(list.remove(2));
    EXPECT_FALSE(list.remove(-1));
    EXPECT_TRUE(list.add("run", "Tom, Dick"));
    EXPECT_FALSE(list.add("", "Name"));
    EXPECT_FALSE(list.add("target", ""));
    EXPECT_EQ(list.moveUp(2), 1);
    EXPECT_EQ(list.moveUp(0), 0);
    EXPECT_EQ(list.moveDown(2), 2);
    EXPECT_EQ(list.moveDown(0), 1);
    EXPECT_EQ(list.moveDown(7), 7);
    // A comma typed in the field editor would move "Dick" into the target on the next read.
    EXPECT_TRUE(list.edit(0, "Tom, Dick, Harry", "run, twice"));
    EXPECT_FALSE(list.edit(3, "x", "y"));
    EXPECT_EQ(Favourites::read(store, "Pro").size(), 3);

    ASSERT_TRUE(list.save());
    EXPECT_EQ(stored(store, "Pro"),
              (SettingsStore::Entries{
                      {"Pro0", "Tom. Dick. Harry,run, twice"}, {"Pro1", "A,a"}, {"Pro2", "C,c"}}));
    EXPECT_EQ(Favourites::read(store, "Pro"),
              (FavouriteList{{"Tom. Dick. Harry", "run, twice"}, {"A", "a"}, {"C", "c"}}));

    FavouriteListEdit empty(store, "Pro");
    ASSERT_TRUE(empty.remove(0) && empty.remove(0) && empty.remove(0));
    ASSERT_TRUE(empty.save());
    EXPECT_TRUE(stored(store, "Pro").isEmpty());
}

} // namespace
