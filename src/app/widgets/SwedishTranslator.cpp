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
    // Förhandsgranska, and the print dialog behind its print button.
    {"QPrintPreviewDialog", "Print Preview", "Förhandsgranska"},
    {"QPrintPreviewDialog", "Next page", "Nästa sida"},
    {"QPrintPreviewDialog", "Previous page", "Föregående sida"},
    {"QPrintPreviewDialog", "First page", "Första sidan"},
    {"QPrintPreviewDialog", "Last page", "Sista sidan"},
    {"QPrintPreviewDialog", "Fit width", "Anpassa till bredden"},
    {"QPrintPreviewDialog", "Fit page", "Anpassa till sidan"},
    {"QPrintPreviewDialog", "Zoom in", "Zooma in"},
    {"QPrintPreviewDialog", "Zoom out", "Zooma ut"},
    {"QPrintPreviewDialog", "Portrait", "Stående"},
    {"QPrintPreviewDialog", "Landscape", "Liggande"},
    {"QPrintPreviewDialog", "Show single page", "Visa en sida"},
    {"QPrintPreviewDialog", "Show facing pages", "Visa uppslag"},
    {"QPrintPreviewDialog", "Show overview of all pages", "Visa alla sidor"},
    {"QPrintPreviewDialog", "Print", "Skriv ut"},
    {"QPrintPreviewDialog", "Page setup", "Utskriftsformat"},
    {"QPrintPreviewDialog", "Export to PDF", "Exportera till PDF"},
    {"QPrintDialog", "Print", "Skriv ut"},
    {"QPrintDialog", "&Print", "&Skriv ut"},
    {"QPrintDialog", "&Options >>", "&Alternativ >>"},
    {"QPrintDialog", "&Options <<", "&Alternativ <<"},
    {"QPrintDialog", "Print to File (PDF)", "Skriv till fil (PDF)"},
    {"QPrintDialog", "Local file", "Lokal fil"},
    {"QPrintDialog", "Write PDF file", "Skriv PDF-fil"},
    {"QPrintDialog", "Print To File ...", "Skriv till fil"},
    {"QPrintDialog", "%1 is a directory.\nPlease choose a different file name.",
     "%1 är en mapp.\nVälj ett annat filnamn."},
    {"QPrintDialog", "File %1 is not writable.\nPlease choose a different file name.",
     "Filen %1 går inte att skriva.\nVälj ett annat filnamn."},
    {"QPrintDialog", "%1 already exists.\nDo you want to overwrite it?", "%1 finns redan.\nVill du skriva över den?"},
    {"QPrintDialog", "All Pages", "Alla sidor"},
    {"QPrintDialog", "Odd Pages", "Udda sidor"},
    {"QPrintDialog", "Even Pages", "Jämna sidor"},
    {"QPrintWidget", "Printer", "Skrivare"},
    {"QPrintWidget", "&Name:", "&Namn:"},
    {"QPrintWidget", "P&roperties", "&Egenskaper"},
    {"QPrintWidget", "Location:", "Plats:"},
    {"QPrintWidget", "Preview", "Förhandsgranska"},
    {"QPrintWidget", "Type:", "Typ:"},
    {"QPrintWidget", "Output &file:", "Utdata&fil:"},
    {"QPrintSettingsOutput", "Copies", "Kopior"},
    {"QPrintSettingsOutput", "Print range", "Utskriftsintervall"},
    {"QPrintSettingsOutput", "Print all", "Skriv ut allt"},
    {"QPrintSettingsOutput", "Pages from", "Sidor från"},
    {"QPrintSettingsOutput", "to", "till"},
    {"QPrintSettingsOutput", "Pages", "Sidor"},
    {"QPrintSettingsOutput", "Current Page", "Aktuell sida"},
    {"QPrintSettingsOutput", "Selection", "Markering"},
    {"QPrintSettingsOutput", "Page Set:", "Sidurval:"},
    {"QPrintSettingsOutput", "Output Settings", "Utskriftsinställningar"},
    {"QPrintSettingsOutput", "Copies:", "Antal kopior:"},
    {"QPrintSettingsOutput", "Collate", "Sortera"},
    {"QPrintSettingsOutput", "Reverse", "Omvänd ordning"},
    {"QPrintSettingsOutput", "Options", "Alternativ"},
    {"QPrintSettingsOutput", "Color Mode", "Färgläge"},
    {"QPrintSettingsOutput", "Color", "Färg"},
    {"QPrintSettingsOutput", "Grayscale", "Gråskala"},
    {"QPrintSettingsOutput", "Double Sided Printing", "Dubbelsidig utskrift"},
    {"QPrintSettingsOutput", "Off", "Av"},
    {"QPrintSettingsOutput", "Long side binding", "Bindning längs långsidan"},
    {"QPrintSettingsOutput", "Short side binding", "Bindning längs kortsidan"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: "
     "3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Ange sidor eller intervall åtskilda av kommatecken. Ett intervall är två tal med bindestreck emellan. Till "
     "exempel skriver 3,5-7,9 ut sidorna 3, 5, 6, 7 och 9."},
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
