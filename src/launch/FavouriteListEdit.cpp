#include "launch/FavouriteListEdit.h"

#include <QFileInfo>

FavouriteListEdit::FavouriteListEdit(SettingsStore &store, const QString &prefix)
    : m_store(store)
    , m_prefix(prefix)
    , m_entries(Favourites::read(store, prefix))
{}

bool FavouriteListEdit::add(const QString &target, const QString &name)
{
    if (target.isEmpty() || name.isEmpty())
        return false;
    m_entries.append({Favourites::cleanName(name), target});
    return true;
}

bool FavouriteListEdit::remove(int row)
{
    if (!valid(row))
        return false;
    m_entries.removeAt(row);
    return true;
}

int FavouriteListEdit::moveUp(int row)
{
    if (!valid(row) || row == 0)
        return row;
    m_entries.swapItemsAt(row, row - 1);
    return row - 1;
}

int FavouriteListEdit::moveDown(int row)
{
    if (!valid(row) || row + 1 == m_entries.size())
        return row;
    m_entries.swapItemsAt(row, row + 1);
    return row + 1;
}

bool FavouriteListEdit::edit(int row, const QString &name, const QString &target)
{
    if (!valid(row))
        return false;
    m_entries[row] = {Favourites::cleanName(name), target};
    return true;
}

bool FavouriteListEdit::save()
{
    return Favourites::write(m_store, m_prefix, m_entries);
}

bool FavouriteListEdit::isSiteAddress(const QString &answer)
{
    return !answer.isEmpty() && answer != QLatin1String("http://") &&
           answer != QLatin1String("https://");
}

QString FavouriteListEdit::extensionPattern(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix();
    return suffix.isEmpty() ? QString() : QStringLiteral("*.") + suffix;
}
