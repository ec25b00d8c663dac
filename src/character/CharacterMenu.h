#pragma once

class QPoint;

// The pop-up menu a right click on the character opens. The character's events only talk
// to this interface, so the full menu replaces the stand-in without touching them.
class CharacterMenu
{
public:
    virtual ~CharacterMenu() = default;
    // Brings the items that depend on the program's state up to date.
    virtual void UpadateMnu() = 0;
    // Fills the lists (favourites, characters, links) again.
    virtual void RefreshMenuLists() = 0;
    // Opens the menu at a screen position; returns at once. When it closes, the last
    // action time is renewed.
    virtual void popup(const QPoint &at) = 0;
};
