#pragma once

#include <QString>

class QWidget;

// Gives a window and its controls the texts of a language section ("[Alarm]"). Each
// control is designed with a text number as its caption; the number is replaced by that
// text of the section, by these rules, in this order of kinds:
//   window title               the leading number of the title (0 when there is none)
//   menu items (QAction)       numeric captions; separators and "-" stay
//   frames (QGroupBox)         any non-empty title, by its leading number
//   buttons (QPushButton, QToolButton without an action)   numeric captions
//   list views (QTreeView, QTableView and their widgets)  every column header
//   tab strips (QTabBar, also inside a QTabWidget)         every tab
//   labels (QLabel without a picture)   always; a caption that is a word reads text 0
//   check boxes, radio buttons          a leading number greater than 0
// Texts, combo boxes, lists and the insides of composite controls are never touched, and
// other windows (dialogs owned by this one) are left to load their own section. A number
// outside the file leaves the design text; a missing section leaves every design text.
// Ampersands show literally everywhere: controls that treat "&" as an access-key marker get
// the doubled form, the others (titles, plain labels, headers) the text as written.
void ApplyLanguage(const QString &section, QWidget *window);
