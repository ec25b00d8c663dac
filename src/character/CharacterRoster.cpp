#include "character/CharacterRoster.h"

void CharacterRoster::startMain()
{
    m_currentId = idFor(0);
    m_ids = {m_currentId};
    m_extraCount = 0;
}

QString CharacterRoster::nextExtraId() const
{
    int number = m_extraCount + 1;
    while (m_ids.contains(idFor(number), Qt::CaseInsensitive))
        ++number;
    return idFor(number);
}

void CharacterRoster::addExtra(const QString &id)
{
    if (id.isEmpty() || m_ids.contains(id, Qt::CaseInsensitive))
        return;
    ++m_extraCount;
    m_ids << id;
}

bool CharacterRoster::remove(const QString &id)
{
    if (m_extraCount <= 0 || !m_ids.contains(id, Qt::CaseInsensitive))
        return false;
    --m_extraCount;
    m_ids.removeIf(
            [&id](const QString &item) { return item.compare(id, Qt::CaseInsensitive) == 0; });
    m_currentId = m_ids.constFirst();
    return true;
}

bool CharacterRoster::select(const QString &id)
{
    for (const QString &item : std::as_const(m_ids)) {
        if (item.compare(id, Qt::CaseInsensitive) == 0) {
            m_currentId = item;
            return true;
        }
    }
    return false;
}
