// What the tool dialogs share: reading a row of number boxes with one message per bad box,
// and a warning shown once the dialog is on screen.
#pragma once

#include <QString>
#include <optional>
#include <vector>

class QDialog;
class QLineEdit;

namespace skyvane {

inline constexpr const char* kInvalidValue = "Invalid value!";
inline constexpr const char* kErrorInData = "Error found in data!";

// The boxes' values as 32-bit floats. Each box that is not a number shows "Invalid value!"
// and takes the focus, so the focus ends in the last bad box; then nothing is returned.
std::optional<std::vector<float>> readNumberBoxes(QDialog* dialog,
                                                  const std::vector<QLineEdit*>& boxes);

// Shows a warning in front of a dialog that is being shown, once it is on screen.
void warnWhenShown(QDialog* dialog, const QString& text);

} // namespace skyvane
