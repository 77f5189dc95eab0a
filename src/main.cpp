#include "app/widgets/Huvudbild.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Huvudbild::installApplicationSettings(app);
    Huvudbild w;
    w.show();
    w.openArguments(QApplication::arguments());
    return app.exec();
}
