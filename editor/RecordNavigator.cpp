#include "editor/RecordNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace {

QToolButton* arrow(const QString& text, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

RecordNavigator::RecordNavigator(const QString& caption, QWidget* parent)
    : QWidget(parent)
    , first_(arrow(QStringLiteral("|◀"), this))
    , previous_(arrow(QStringLiteral("◀"), this))
    , next_(arrow(QStringLiteral("▶"), this))
    , last_(arrow(QStringLiteral("▶|"), this))
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
    connect(first_, &QToolButton::clicked, this, [this] { emit moveRequested(Move::First); });
    connect(previous_, &QToolButton::clicked, this, [this] { emit moveRequested(Move::Previous); });
    connect(next_, &QToolButton::clicked, this, [this] { emit moveRequested(Move::Next); });
    connect(last_, &QToolButton::clicked, this, [this] { emit moveRequested(Move::Last); });
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
