// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own texts (the input box's OK and Cancel, the file dialog and its
// questions) in Chinese like the rest of the program.

class QCoreApplication;

namespace korvanet {

// Loads Qt's Chinese translations into `app`; false when they are not
// installed (the buttons then stay in English, nothing else changes).
bool InstallQtChineseTranslations(QCoreApplication& app);

}  // namespace korvanet
