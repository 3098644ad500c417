// Typing any text into a widget, as keyboard input would bring it, Polish letters included.
#pragma once

#include <QString>

class QWidget;

namespace testing_support {

void TypeText(QWidget* widget, const QString& text);

}  // namespace testing_support
