#pragma once

#include "base/Twips.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

// The About window: icon, name and version, the maker's notice and OK. It
// is shown without waiting, yet acts modal: it disables the main window
// when it is loaded and enables it again when it is unloaded, however it is
// closed. It deletes itself on closing, so each opening is a fresh load.
class Om : public QDialog {
    Q_OBJECT
public:
    Om(QWidget *mainWindow, const Twips &scale);
    ~Om() override;

    QLabel *image1() const { return m_image1; }
    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }
    QPushButton *cmdOmOK() const { return m_cmdOmOK; }

    static inline const QString kTitle = QStringLiteral("Om Ovelda Taggverk");

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();

    QPointer<QWidget> m_main;
    QLabel *m_image1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QPushButton *m_cmdOmOK = nullptr;
    bool m_loaded = false;
};
