#include "toolkit/help_context.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

#include "toolkit/application.h"
#include "toolkit/form.h"

namespace {

constexpr char kProperty[] = "quimblyHelpContext";
// Menus nest only a few levels; the bound guards against an item that is
// (wrongly) its own ancestor.
constexpr int kMaxMenuDepth = 32;

// The item that opens the menu holding item: the parent item.
const QAction* ParentItem(const QAction* item) {
    for (QObject* holder : item->associatedObjects())
        if (const auto* menu = qobject_cast<const QMenu*>(holder))
            if (menu->menuAction() != item)
                return menu->menuAction();
    return nullptr;
}

// A popup (a combo box's list, say) belongs to the element that opened it, so
// the walk goes on through it; any other window ends the walk.
bool EndsTheWalk(const QWidget* widget) { return widget->isWindow() && widget->windowType() != Qt::Popup; }

void RequestContext(int context) { Application->HelpCommand(HELP_CONTEXT, context); }

// The open menu, if any: the innermost popup menu, or a menu bar in keyboard
// navigation with an item highlighted.
const QAction* HighlightedMenuItem(QWidget* receiver) {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        return menu->activeAction() ? menu->activeAction() : menu->menuAction();
    if (auto* bar = qobject_cast<QMenuBar*>(receiver))
        return bar->activeAction();
    return nullptr;
}

void CloseMenus() {
    for (int i = 0; i < kMaxMenuDepth; ++i) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        menu->close();
    }
}

void HelpKeyPressed(QWidget* receiver) {
    if (const QAction* item = HighlightedMenuItem(receiver)) {
        const int context = MenuItemHelpContext(item);
        // The menu would keep the keyboard and mouse from the help window.
        CloseMenus();
        RequestContext(context);
        return;
    }
    // Key events go to the focused element (or the active window when
    // nothing has the focus), so the receiver is where the walk starts.
    if (const auto context = FocusHelpContext(receiver))
        RequestContext(*context);
}

class THelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        Guard(receiver, [receiver] { HelpKeyPressed(static_cast<QWidget*>(receiver)); });
        return true;
    }
};

}  // namespace

void SetHelpContext(QObject* carrier, int context) {
    if (auto* form = qobject_cast<TForm*>(carrier))
        form->HelpContext = context;
    else
        carrier->setProperty(kProperty, context);
}

int HelpContextOf(const QObject* carrier) {
    if (const auto* form = qobject_cast<const TForm*>(carrier))
        return form->HelpContext;
    return carrier->property(kProperty).toInt();
}

int MenuItemHelpContext(const QAction* item) {
    for (int depth = 0; item && depth < kMaxMenuDepth; ++depth, item = ParentItem(item))
        if (const int context = HelpContextOf(item))
            return context;
    return 0;
}

std::optional<int> FocusHelpContext(const QWidget* focused) {
    for (const QWidget* widget = focused; widget; widget = EndsTheWalk(widget) ? nullptr : widget->parentWidget())
        if (const int context = HelpContextOf(widget))
            return context;
    return std::nullopt;
}

void InstallHelpKey(QObject* parent) {
    if (qApp)
        qApp->installEventFilter(new THelpKeyFilter(parent));
}
