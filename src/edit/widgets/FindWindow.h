#pragma once

#include "document/FindSettings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// The non-modal windows "Sök" and "Ersätt": the search text (and for Ersätt
// the replacement), the box for upper and lower case and the buttons. They
// only say which button was pressed; the main window runs the command.
// Return presses the default button, Sök nästa; Escape closes the window.
class FindWindow : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Find, Replace };

    FindWindow(Kind kind, const FindSettings &shown, QWidget *mainWindow);

    Kind kind() const { return m_kind; }
    // The search as the window shows it.
    FindSettings settings() const;
    // Shows the window, or brings it forward, with the search text selected.
    void showAndFocus();

    QLineEdit *searchField() const { return m_search; }
    QLineEdit *replaceField() const { return m_replace; } // nullptr in Sök
    QCheckBox *matchCaseBox() const { return m_matchCase; }
    QPushButton *findNextButton() const { return m_findNext; }
    QPushButton *replaceButton() const { return m_replaceOne; }    // nullptr in Sök
    QPushButton *replaceAllButton() const { return m_replaceAll; } // nullptr in Sök
    QPushButton *closeButton() const { return m_close; }

signals:
    void findNextClicked();
    void replaceClicked();
    void replaceAllClicked();

private:
    void placeBeside(QWidget *mainWindow);

    Kind m_kind;
    QLineEdit *m_search = nullptr;
    QLineEdit *m_replace = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QPushButton *m_findNext = nullptr;
    QPushButton *m_replaceOne = nullptr;
    QPushButton *m_replaceAll = nullptr;
    QPushButton *m_close = nullptr;
};
