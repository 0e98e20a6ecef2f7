#include "editor/RecordNavigator.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>

namespace {

constexpr RecordNavigator::Move kMoves[] = {RecordNavigator::Move::First, RecordNavigator::Move::Previous,
                                            RecordNavigator::Move::Next, RecordNavigator::Move::Last};

QString spokenName(RecordNavigator::Move m)
{
    switch (m) {
    case RecordNavigator::Move::First: return QStringLiteral("最初のデータ");
    case RecordNavigator::Move::Previous: return QStringLiteral("前のデータ");
    case RecordNavigator::Move::Next: return QStringLiteral("次のデータ");
    case RecordNavigator::Move::Last: return QStringLiteral("最後のデータ");
    }
    return {};
}

QToolButton* arrow(const QString& text, RecordNavigator::Move m, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setAutoRaise(false);
    // Reached by Tab; a click leaves the focus in the field being edited.
    b->setFocusPolicy(Qt::TabFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAccessibleName(spokenName(m));
    b->setToolTip(
        QStringLiteral("%1（%2）").arg(spokenName(m), RecordNavigator::keyOf(m).toString(QKeySequence::NativeText)));
    return b;
}

}  // namespace

RecordNavigator::RecordNavigator(const QString& caption, QWidget* parent)
    : QWidget(parent)
    , first_(arrow(QStringLiteral("|◀"), Move::First, this))
    , previous_(arrow(QStringLiteral("◀"), Move::Previous, this))
    , next_(arrow(QStringLiteral("▶"), Move::Next, this))
    , last_(arrow(QStringLiteral("▶|"), Move::Last, this))
    , caption_(new QLabel(caption, this))
{
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setFrameShape(QFrame::StyledPanel);
    caption_->setMinimumWidth(caption_->fontMetrics().horizontalAdvance(caption) * 3);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(first_);
    row->addWidget(previous_);
    row->addWidget(caption_, 1);
    row->addWidget(next_);
    row->addWidget(last_);
    for (Move m : kMoves) {
        QToolButton* b = button(m);
        connect(b, &QToolButton::clicked, this, [this, m] { emit moveRequested(m); });
        // A press of the key is a click: nothing while the navigator is off.
        auto* key = new QShortcut(keyOf(m), this);
        key->setContext(Qt::WindowShortcut);
        key->setAutoRepeat(false);
        connect(key, &QShortcut::activated, b, &QToolButton::click);
    }
}

QToolButton* RecordNavigator::button(Move m) const
{
    switch (m) {
    case Move::First: return first_;
    case Move::Previous: return previous_;
    case Move::Next: return next_;
    case Move::Last: return last_;
    }
    return first_;
}

QKeySequence RecordNavigator::keyOf(Move m)
{
    switch (m) {
    case Move::First: return QKeySequence(Qt::CTRL | Qt::Key_Home);
    case Move::Previous: return QKeySequence(Qt::CTRL | Qt::Key_PageUp);
    case Move::Next: return QKeySequence(Qt::CTRL | Qt::Key_PageDown);
    case Move::Last: return QKeySequence(Qt::CTRL | Qt::Key_End);
    }
    return {};
}

std::optional<RecordNavigator::Move> RecordNavigator::moveOf(const QKeyEvent& e)
{
    const QKeySequence pressed(e.keyCombination());
    for (Move m : kMoves)
        if (pressed == keyOf(m))
            return m;
    return std::nullopt;
}
