#include "TextFont.h"

#include <QFont>
#include <QStringList>
#include <QWidget>

namespace {
constexpr const char* kJapaneseFamily = "Noto Sans CJK JP";
}

QFont TextFont(std::int32_t size) {
    QFont font;
    font.setFamilies(QStringList{kJapaneseFamily, font.family()});
    if (size > 0) {
        font.setPixelSize(size);
    }
    return font;
}

void ApplyTextFont(QWidget& widget, std::int32_t size) {
    widget.setFont(TextFont(size));
}
