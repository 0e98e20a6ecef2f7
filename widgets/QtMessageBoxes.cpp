#include "widgets/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>

const char* const MessageBoxes::kTitle = "ソノハVersion3.47";

MessageBoxes::Answer QtMessageBoxes::show(QWidget* parent, const QString& text, Buttons buttons, Icon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(kTitle));
    box.setText(text);
    switch (icon) {
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::None: break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default:
        // Closed without a button: the answer that changes nothing.
        switch (buttons) {
        case Buttons::YesNo: return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel: return Answer::Cancel;
        case Buttons::Ok: break;
        }
        return Answer::Ok;
    }
}
