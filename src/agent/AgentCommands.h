#pragma once

#include <QStringList>

// The commands a character offers in its own pop-up menu. The program removes them all and
// shows a menu of its own; the list is kept so a caller can tell.
class AgentCommands final
{
public:
    void Add(const QString &name) { m_names << name; }
    void RemoveAll() { m_names.clear(); }
    int Count() const { return int(m_names.size()); }
    QStringList names() const { return m_names; }

private:
    QStringList m_names;
};
