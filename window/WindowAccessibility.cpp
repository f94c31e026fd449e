#include "WindowAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace pendrio {

namespace {

// Set on each window handed to ExposeToAccessibility.
constexpr char kExposedWindow[] = "pendrio_exposedWindow";

// Hidden by the program itself, not merely not shown yet.
bool keptHidden(const QWidget* widget) {
    return widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

bool inExposedWindow(const QWidget* widget) {
    const QWidget* window = widget->window();
    return window && window->property(kExposedWindow).toBool();
}

// The window itself: role Window, and only the children a user can see.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return int(reachableChildren().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = reachableChildren();
        if (index < 0 || index >= children.size()) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) {
            return -1;
        }
        return int(reachableChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> reachableChildren() const {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !keptHidden(child)) {
                children.append(child);
            }
        }
        return children;
    }
};

// A control the window keeps hidden: it can still be asked what it is (and
// says it is invisible), but it is in no one's list of children and has no
// action, no text and no value to change.
class HiddenControlAccessible : public QAccessibleWidget {
public:
    explicit HiddenControlAccessible(QWidget* control)
        : QAccessibleWidget(control, roleOf(control)) {}

    void* interface_cast(QAccessible::InterfaceType) override { return nullptr; }
    QStringList actionNames() const override { return {}; }
    void doAction(const QString&) override {}

private:
    static QAccessible::Role roleOf(const QWidget* control) {
        return control->inherits("QCheckBox") ? QAccessible::CheckBox : QAccessible::Client;
    }
};

QAccessibleInterface* windowFactory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // Asked once per class up the hierarchy: answer for the object's own class.
    if (!widget || className != QLatin1String(object->metaObject()->className()) ||
        !inExposedWindow(widget)) {
        return nullptr;
    }
    if (widget->isWindow()) {
        return new WindowAccessible(widget);
    }
    if (keptHidden(widget)) {
        return new HiddenControlAccessible(widget);
    }
    return nullptr;
}

// Qt keeps each object's interface once made; one made before the factory
// could answer for it (while the window was being built, if a screen reader
// was already listening) is thrown away, so that the next request gets ours.
void replaceEarlierInterface(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (iface && !dynamic_cast<WindowAccessible*>(iface) &&
        !dynamic_cast<HiddenControlAccessible*>(iface)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    }
}

} // namespace

void ExposeToAccessibility(QWidget& window) {
    static const bool installed = [] {
        QAccessible::installFactory(windowFactory);
        return true;
    }();
    (void)installed;
    window.setProperty(kExposedWindow, true);
    replaceEarlierInterface(&window);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (keptHidden(child)) {
            replaceEarlierInterface(child);
        }
    }
}

} // namespace pendrio
