#include "platform/Placeholder.h"

#include <QApplication>
#include <QLabel>

namespace platform {

int RunPlaceholderWindow(int argc, char** argv, const std::string& title, const std::string& text)
{
    QApplication app(argc, argv);
    QLabel label(QString::fromStdString(text));
    label.setAlignment(Qt::AlignCenter);
    label.setWindowTitle(QString::fromStdString(title));
    label.resize(480, 200);
    label.show();
    return app.exec();
}

}  // namespace platform
