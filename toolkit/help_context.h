#pragma once
// Help context numbers and the F1 key. Windows (TForm::HelpContext), elements
// and menu items carry a context number, 0 meaning none; F1 asks the help
// viewer for the topic of the number that applies where the key was pressed:
//   - a menu open: the highlighted item's number, else that of the first of
//     its parent items that has one; 0 when none has, and 0 is asked for too;
//   - otherwise: the first non-zero number on the way from the focused
//     element up through its parents to its window; nothing when none has one.

#include <optional>

class QAction;
class QObject;
class QWidget;

// Gives a window, an element or a menu item (QAction, also a QMenu's
// menuAction()) its help context.
void SetHelpContext(QObject* carrier, int context);
int HelpContextOf(const QObject* carrier);

// The context F1 asks for with this item highlighted in an open menu.
int MenuItemHelpContext(const QAction* item);
// The context F1 asks for with this element focused, or nothing.
std::optional<int> FocusHelpContext(const QWidget* focused);

// Makes F1 ask for help throughout the application. Call once, after the
// QApplication exists; the handler lives as long as parent.
void InstallHelpKey(QObject* parent);
