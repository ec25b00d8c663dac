#include "ui/ListRows.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class ListRowsTest : public testing::Test
{
protected:
    void fill(const QStringList &dates)
    {
        for (const QString &date : dates) {
            auto *row = new QTreeWidgetItem(&list, {date, QStringLiteral("t"), date + 's'});
            row->setData(0, ListRows::KeyRole, QString(QStringLiteral("k") + date));
        }
    }
    QStringList order() const
    {
        QStringList texts;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            texts << list.topLevelItem(i)->text(0);
        return texts;
    }

    QTreeWidget list;
};

TEST_F(ListRowsTest, MovesCarryEveryColumnAndTheKey)
{
    list.setColumnCount(3);
    fill({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.setCurrentItem(list.topLevelItem(1));
    ListRows::MoveRowUp(&list, 2);
    EXPECT_EQ(order(), (QStringList{"b", "a", "c"}));
    EXPECT_EQ(list.topLevelItem(0)->text(2), QStringLiteral("bs"));
    EXPECT_EQ(ListRows::keyOf(list.topLevelItem(0)), QStringLiteral("kb"));
    EXPECT_EQ(ListRows::selectedIndex(&list), 1) << "the moved row stays selected";

    ListRows::MoveRowDown(&list, 1);
    ListRows::MoveRowDown(&list, 2);
    EXPECT_EQ(order(), (QStringList{"a", "c", "b"}));
}

TEST_F(ListRowsTest, MovesPastTheEndsChangeNothing)
{
    fill({QStringLiteral("a"), QStringLiteral("b")});
    ListRows::MoveRowUp(&list, 1);
    ListRows::MoveRowDown(&list, 2);
    ListRows::MoveRowUp(&list, 0);
    ListRows::MoveRowDown(&list, 7);
    EXPECT_EQ(order(), (QStringList{"a", "b"}));
}

TEST_F(ListRowsTest, SortsByDayEarliestFirstUnreadableLast)
{
    fill({QStringLiteral("5/3/2026"), QStringLiteral("nonsense"), QStringLiteral("5/1/2026"),
          QStringLiteral("2026-05-02"), QStringLiteral("12/31/2025")});
    ListRows::SortRowsByDate(&list);
    EXPECT_EQ(order(),
              (QStringList{"12/31/2025", "5/1/2026", "2026-05-02", "5/3/2026", "nonsense"}));
}

} // namespace
