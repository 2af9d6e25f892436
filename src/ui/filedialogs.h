// The document file dialogs of the MetaTags and Doorways pages: the filter as the dialog
// takes it, and the open and save dialogs (a save dialog adds the default extension when the
// typed name has none).
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace qs {

// "caption|patterns|caption|patterns..." (patterns separated by ";") as Qt's
// "caption (patterns);;...". "*.*" matches every file, also one without a dot.
QString DialogFilter(const std::string& filter);

// Stand-ins for tests: (title, filter) -> the chosen path, or an empty text for Cancel.
using TPickFile = std::function<QString(const QString& title, const QString& filter)>;

TPickFile OpenFileDialog(QWidget* parent);
TPickFile SaveFileDialog(QWidget* parent, const QString& defaultSuffix);

}  // namespace qs
