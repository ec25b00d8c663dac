#pragma once

#include <QString>

class QWidget;

// The user's special folders by their classic numbers.
namespace SpecialFolder {
inline constexpr int Documents = 5;
inline constexpr int Music = 13;
inline constexpr int Pictures = 39;
} // namespace SpecialFolder

// The path of one of the user's special folders (documents, music, pictures) followed by
// "/"; empty for an unknown number, when the desktop knows no such folder, or when the
// folder does not exist. `owner` is
// accepted for symmetry with the window helpers and not used.
QString GetSpecialFolder(QWidget *owner, int id);

// Full path of the running executable.
QString GetExePath();
