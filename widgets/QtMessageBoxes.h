#pragma once

#include "platform/MessageBoxes.h"

class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
};
