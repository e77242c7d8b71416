// Korvanet: rigorous conditional adjustment of a braced quadrilateral.
// Starting the program shows the window; everything else starts there.

#include <QApplication>

#include "main_window.h"
#include "prompter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Only the name: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(korvanet::kApplicationTitle));

    korvanet::MainWindow window;
    window.show();
    return QApplication::exec();
}
