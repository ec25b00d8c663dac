#pragma once

#include <QString>
#include <QStringList>

// The language file in use: a text file in the program folder made of sections. A section
// starts with a header line such as "[Alarm]"; the lines after it are its texts, numbered
// from 0. Windows are designed with these numbers as captions (see ApplyLanguage).
//
// In memory, element 0 is empty and element k holds line k of the file with every "&"
// doubled, so that a text shows its ampersands literally on buttons and menus instead of
// marking an access key.

// Loads `fileName` from the program folder (UTF-8, or windows-1252 for files that are not
// valid UTF-8; CRLF or LF line ends). False when the file cannot be read: then the shipped
// "English.lang" is loaded instead when it exists, so windows still get readable texts.
bool LoadLanguage(const QString &fileName);

// Index of the first text of a section ("[Alarm]"; a name without brackets is looked up
// with them), or -1 when no line equals the header exactly (letter case and spaces count).
int FindSection(const QString &section);

// Text n of a section as stored (ampersands doubled). Empty when the section is missing or
// n lies outside the stored lines: callers always get a text.
QString GetLangText(const QString &section, int n);

// Text n of a section as it should read where no access keys exist: window titles, plain
// labels, list headers, texts built into other texts.
QString GetLangPlainText(const QString &section, int n);

// The loaded lines, element 0 empty.
const QStringList &LangLines();

// Language helpers shared with ApplyLanguage.
namespace LanguageText {

// Element `index` of the loaded lines, or a null string when it lies outside them.
QString element(qsizetype index);

// The whole number a design caption starts with (leading spaces allowed), 0 when it does
// not start with a digit.
int leadingNumber(const QString &caption);

// True when the whole caption, spaces trimmed, is a number.
bool isNumeric(const QString &caption);

// Turns every "&&" of a stored text back into "&".
QString plain(const QString &stored);

} // namespace LanguageText
