#pragma once
// Texts between the window and the layers below it, which keep file names and stored values
// in the system's 8-bit encoding.

#include <QString>
#include <string>

namespace fenmar::ui {

inline std::string ToLocal(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

inline QString FromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

}  // namespace fenmar::ui
