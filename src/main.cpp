#include "app/widgets/Huvudbild.h"
#include "files/FileSystem.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Past a file-size limit a write must fail as any write can, not end the
    // program with the list in it.
    surviveFileSizeLimit();
    QApplication app(argc, argv);
    Huvudbild::installApplicationSettings(app);
    Huvudbild w;
    w.show();
    w.start(QApplication::arguments());
    return app.exec();
}
