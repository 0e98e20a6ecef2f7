#include "slideshow/PanelButtonAccessible.h"

#include "slideshow/PanelButton.h"

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PanelButton") && object && object->isWidgetType())
        return new PanelButtonAccessible(static_cast<PanelButton*>(object));
    return nullptr;
}

}  // namespace

PanelButtonAccessible::PanelButtonAccessible(PanelButton* b)
    : QAccessibleWidget(b, QAccessible::Button)
{
}

PanelButton* PanelButtonAccessible::button() const
{
    return static_cast<PanelButton*>(widget());
}

// The AT-SPI bridge tells checkability by the role alone.
QAccessible::Role PanelButtonAccessible::role() const
{
    return button()->kind() == PanelButton::Kind::Toggle ? QAccessible::CheckBox : QAccessible::Button;
}

QAccessible::State PanelButtonAccessible::state() const
{
    QAccessible::State st = QAccessibleWidget::state();
    switch (button()->kind()) {
    case PanelButton::Kind::Toggle:
        st.checkable = true;
        st.checked = button()->isOpen();
        break;
    case PanelButton::Kind::Opener:
        st.expandable = true;
        st.expanded = button()->isOpen();
        st.collapsed = !button()->isOpen();
        break;
    case PanelButton::Kind::Command: break;
    }
    return st;
}

QStringList PanelButtonAccessible::actionNames() const
{
    QStringList names{pressAction()};
    if (button()->kind() == PanelButton::Kind::Toggle)
        names << toggleAction();
    return names + QAccessibleWidget::actionNames();
}

void PanelButtonAccessible::doAction(const QString& action)
{
    if (action == pressAction() || action == toggleAction())
        button()->activate();
    else
        QAccessibleWidget::doAction(action);
}

void PanelButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}
