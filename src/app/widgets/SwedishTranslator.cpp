#include "app/widgets/SwedishTranslator.h"

#include <QHash>

namespace {
struct Key {
    const char *context;
    const char *source;
    const char *swedish;
};

const Key kTexts[] = {
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "&Yes", "&Ja"},
    {"QPlatformTheme", "&No", "&Nej"},
    {"QPlatformTheme", "Cancel", "Avbryt"},
    {"QPlatformTheme", "&OK", "&OK"},
    {"QPlatformTheme", "Close", "Stäng"},
    {"QPlatformTheme", "Open", "Öppna"},
    {"QPlatformTheme", "Save", "Spara"},
    {"QFileDialog", "Look in:", "Leta i:"},
    {"QFileDialog", "File &name:", "Fil&namn:"},
    {"QFileDialog", "Files of type:", "Filformat:"},
    {"QFileDialog", "&Open", "&Öppna"},
    {"QFileDialog", "&Save", "&Spara"},
    {"QFileDialog", "Open", "Öppna"},
    {"QFileDialog", "Save As", "Spara som"},
    {"QFileDialog", "Cancel", "Avbryt"},
    {"QFileDialog", "Back", "Bakåt"},
    {"QFileDialog", "Forward", "Framåt"},
    {"QFileDialog", "Parent Directory", "Överordnad mapp"},
    {"QFileDialog", "Create New Folder", "Skapa ny mapp"},
    {"QFileDialog", "New Folder", "Ny mapp"},
    {"QFileDialog", "List View", "Lista"},
    {"QFileDialog", "Detail View", "Detaljer"},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?", "%1 finns redan.\nVill du ersätta den?"},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nFilen hittades inte.\nKontrollera att filnamnet är rätt."},
    {"QFileDialog", "All Files (*)", "Alla filer (*)"},
    {"QFileDialog", "&Rename", "&Byt namn"},
    {"QFileDialog", "&Delete", "&Ta bort"},
    {"QFileDialog", "Show &hidden files", "Visa &dolda filer"},
    {"QFileDialog", "&New Folder", "&Ny mapp"},
    {"QFileDialog", "My Computer", "Den här datorn"},
    {"QFileSystemModel", "Computer", "Dator"},
    {"QFileSystemModel", "My Computer", "Den här datorn"},
    {"QAbstractFileIconProvider", "Folder", "Mapp"},
    {"QAbstractFileIconProvider", "Drive", "Enhet"},
    {"QAbstractFileIconProvider", "File", "Fil"},
    {"QAbstractFileIconProvider", "%1 File", "%1-fil"},
    {"QFileIconProvider", "Folder", "Mapp"},
    {"QFileIconProvider", "Drive", "Enhet"},
    {"QFileIconProvider", "File", "Fil"},
    {"QFileIconProvider", "%1 File", "%1-fil"},
    {"QFileSystemModel", "Name", "Namn"},
    {"QFileSystemModel", "Size", "Storlek"},
    {"QFileSystemModel", "Type", "Typ"},
    {"QFileSystemModel", "Date Modified", "Ändrad"},
    {"QLineEdit", "&Undo", "&Ångra"},
    {"QLineEdit", "&Redo", "&Gör om"},
    {"QLineEdit", "Cu&t", "Klipp &ut"},
    {"QLineEdit", "&Copy", "&Kopiera"},
    {"QLineEdit", "&Paste", "K&listra in"},
    {"QLineEdit", "Delete", "Ta bort"},
    {"QLineEdit", "Select All", "Markera allt"},
};

QString key(const char *context, const char *source)
{
    return QLatin1String(context) + QChar(0) + QString::fromUtf8(source);
}

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> t = [] {
        QHash<QString, QString> h;
        for (const Key &k : kTexts)
            h.insert(key(k.context, k.source), QString::fromUtf8(k.swedish));
        return h;
    }();
    return t;
}
} // namespace

QString SwedishTranslator::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (!context || !sourceText)
        return {};
    return table().value(key(context, sourceText));
}
