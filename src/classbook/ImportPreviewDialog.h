#pragma once

#include <QDialog>

class ImportPreview;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// "Importer une liste d'élèves": what the list brings, shown before anything is added, with "&Importer" and
// "&Annuler". It only shows the preview and hands it the teacher's choice to complete the cards.
class ImportPreviewDialog : public QDialog
{
    Q_OBJECT

public:
    ImportPreviewDialog(ImportPreview& preview, QWidget* parent = nullptr);

private:
    void refresh();

    ImportPreview& m_preview;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_columns = nullptr;
    QTreeWidget* m_students = nullptr;
    QCheckBox* m_complete = nullptr;
    QPushButton* m_import = nullptr;
};
