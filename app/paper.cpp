// SPDX-License-Identifier: MIT
// The solution view's paper: light, dark, or as the desktop is, and the colours drawn on it.
#include "app/paper.h"

#include "app/color_value.h"

#include <QPalette>

namespace app {

const PaperColors& lightPaper()
{
    // The reasons' grey is a shade darker than mid grey, which has only 3.9:1 on white.
    static const PaperColors kLight{Qt::white,           QColor(0, 0, 0),       QColor(0, 0, 128),
                                    QColor(0, 100, 100), QColor(110, 110, 110), QColor(192, 0, 0)};
    return kLight;
}

const PaperColors& darkPaper()
{
    static const PaperColors kDark{QColor(30, 30, 30),   QColor(220, 220, 220), QColor(130, 170, 255),
                                   QColor(80, 200, 200), QColor(150, 150, 150), QColor(255, 110, 110)};
    return kDark;
}

Paper paperOf(std::int32_t stored)
{
    switch (stored) {
    case static_cast<std::int32_t>(Paper::Light):
        return Paper::Light;
    case static_cast<std::int32_t>(Paper::Dark):
        return Paper::Dark;
    default:
        return Paper::Desktop;
    }
}

bool isDarkDesktop(const QPalette& desktop)
{
    return desktop.color(QPalette::Window).lightnessF() < 0.5;
}

PaperColors viewColors(const config::Settings& settings, const QPalette& desktop)
{
    const Paper paper = paperOf(settings.paper);
    const bool isDark = paper == Paper::Dark || (paper == Paper::Desktop && isDarkDesktop(desktop));
    PaperColors colors = isDark ? darkPaper() : lightPaper();
    const config::Settings defaults;
    const auto own = [](std::int32_t stored, std::int32_t standard, QColor& preset) {
        if (stored != standard)
            preset = fromColorValue(stored);
    };
    own(settings.colorText, defaults.colorText, colors.text);
    own(settings.colorFunction, defaults.colorFunction, colors.function);
    own(settings.colorNumber, defaults.colorNumber, colors.number);
    return colors;
}

} // namespace app
