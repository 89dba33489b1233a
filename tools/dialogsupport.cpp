// What the tool dialogs share.
#include "tools/dialogsupport.h"

#include <QDialog>
#include <QLineEdit>

#include "widgets/Prompts.h"
#include "widgets/Text.h"
#include "core/numbers.h"

namespace skyvane {

std::optional<std::vector<float>> readNumberBoxes(QDialog* dialog,
                                                  const std::vector<QLineEdit*>& boxes) {
    std::vector<float> values;
    bool valid = true;
    for (QLineEdit* box : boxes) {
        const std::optional<float> value = tryParseSingle(toBytes(box->text()));
        if (value) {
            values.push_back(*value);
            continue;
        }
        valid = false;
        showMessage(dialog, MessageKind::Error, QString::fromLatin1(kInvalidValue));
        box->setFocus();
    }
    if (!valid)
        return std::nullopt;
    return values;
}

void warnWhenShown(QDialog* dialog, const QString& text) {
    // Called while the dialog is being shown: a box opened now would come up behind it.
    QMetaObject::invokeMethod(
        dialog,
        [dialog, text] {
            if (dialog->isVisible())
                showMessage(dialog, MessageKind::Warning, text);
        },
        Qt::QueuedConnection);
}

} // namespace skyvane
