#include "widgets/PictureButtonAccessible.h"

#include "widgets/PictureButton.h"

namespace {

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PictureButton") && object && object->isWidgetType())
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    return nullptr;
}

}  // namespace

PictureButtonAccessible::PictureButtonAccessible(PictureButton* b)
    : QAccessibleWidget(b, QAccessible::Button)
{
}

PictureButton* PictureButtonAccessible::button() const
{
    return static_cast<PictureButton*>(widget());
}

QString PictureButtonAccessible::text(QAccessible::Text t) const
{
    const PictureButton::Spoken s = button()->spoken();
    switch (t) {
    case QAccessible::Name: return s.name;
    case QAccessible::Description: return s.description;
    default: return QAccessibleWidget::text(t);
    }
}

// A button that is selected and released again is a check box to a screen
// reader: the AT-SPI bridge tells checkability by the role alone.
QAccessible::Role PictureButtonAccessible::role() const
{
    return button()->spoken().checkable ? QAccessible::CheckBox : QAccessible::Button;
}

// A button held down (all data) is pressed, not checked.
QAccessible::State PictureButtonAccessible::state() const
{
    QAccessible::State st = QAccessibleWidget::state();
    const PictureButton::Spoken s = button()->spoken();
    st.checkable = s.checkable;
    st.checked = s.checkable && s.checked;
    st.pressed = !s.checkable && s.checked;
    return st;
}

QStringList PictureButtonAccessible::actionNames() const
{
    return {pressAction()};
}

void PictureButtonAccessible::doAction(const QString& action)
{
    if (action == pressAction())
        button()->activate(Qt::NoModifier);
}

void PictureButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}
