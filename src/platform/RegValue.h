#pragma once

#include <QList>
#include <QString>

// One named value of a registry key: a text (REG_SZ) or a 32-bit number (REG_DWORD).
struct RegValue
{
    enum class Type { String = 1, Dword = 4 };

    QString name;
    Type type = Type::String;
    QString text;
    quint32 dword = 0;

    static RegValue string(const QString &name, const QString &text)
    {
        return RegValue{name, Type::String, text, 0};
    }
    static RegValue number(const QString &name, quint32 value)
    {
        return RegValue{name, Type::Dword, QString(), value};
    }

    // The value as text: a number in decimal.
    QString toText() const { return type == Type::Dword ? QString::number(dword) : text; }

    bool operator==(const RegValue &other) const = default;
};

// A key with everything below it, values and subkeys in the store's order.
struct RegKeyTree
{
    QString name;
    QList<RegValue> values;
    QList<RegKeyTree> subkeys;

    bool operator==(const RegKeyTree &other) const = default;
};
