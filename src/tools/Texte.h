#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class IndentMarker;
class QButtonGroup;
class QComboBox;
class QFrame;
class QPushButton;
class QTextBlock;
class QTextCharFormat;
class QTextCursor;
class QTextEdit;
class QToolButton;
class RulerPanel;
class SizeSpinBox;

// The rich-text editor that shows the class report: a formatting tool bar, a ruler with the paragraph
// indents, and the editor. The report is written into it line by line; the teacher edits, prints or
// saves it as plain text or RTF.
class TTexte : public QDialog
{
    Q_OBJECT

public:
    static const QString SaveFilter;

    explicit TTexte(QWidget* parent = nullptr);
    // Empties the editor; the next text starts from the editor's own font.
    void Init();
    // Appends one line (paragraph) at the end of the text.
    void Ajout(const QString& line);

    // The paragraph indents in points: first line from the margin, the other lines from the first one,
    // right from the right margin.
    struct Indents
    {
        int first = 0;
        int left = 0;
        int right = 0;
    };
    Indents indentsOf(const QTextBlock& block) const;
    // The attributes the tool bar shows: those of the first selected character, or of the caret.
    QFont selectionFont() const;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormResize();
    void RulerResize();
    void SetEditRect();
    void SetupRuler();
    void SelectionChange();
    void RulerItemMouseDown(IndentMarker* item, int x);
    void RulerItemMouseMove(IndentMarker* item, int x);
    void FirstIndMouseUp();
    void LeftIndMouseUp();
    void RightIndMouseUp();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void ComboBox1Change(int index);
    void SpinEdit1Change();
    void SpeedButton18Click();
    void BoldClick();
    void ItalicClick();
    void UnderlineClick();
    void AlignClick(Qt::Alignment alignment);
    void BulletsClick();
    void Button1Click();

    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    SizeSpinBox* SpinEdit1 = nullptr;
    QToolButton* SpeedButton18 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QToolButton* SpeedButton10 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* SpeedButton12 = nullptr;
    QPushButton* Button1 = nullptr;
    RulerPanel* Ruler = nullptr;
    QFrame* RulerLine = nullptr;
    IndentMarker* FirstInd = nullptr;
    IndentMarker* LeftInd = nullptr;
    IndentMarker* RightInd = nullptr;
    QTextEdit* RichEdit1 = nullptr;

    // Set by the last save: the text was written as plain text rather than RTF.
    bool PlainText = false;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* makeButton(int left, const QString& hint, int glyph, bool checkable);
    void createToolBar();
    void createRuler();
    void GetFontName();
    void layoutChildren();
    // Applies a change of attributes to the selected text, or to the default attributes without a selection.
    void changeCurrText(const QTextCharFormat& change, const std::function<void(QFont&)>& changeDefault);
    // Runs a change over every paragraph of the selection.
    void changeParagraphs(const std::function<void(QTextCursor&, const QTextBlock&)>& change);
    void setIndents(const Indents& indents, bool first, bool left, bool right);
    // The report as the lines of a text file: a line break ends a line, pictures have no text.
    QStringList plainTextLines() const;
    QByteArray plainTextBytes() const;

    QButtonGroup* m_alignGroup = nullptr;
    // Set by Ajout, cleared by Init: the first line fills the empty paragraph every document starts with.
    bool m_hasLines = false;
    bool FUpdating = false;
    bool FDragging = false;
    int FDragOfs = 0;
    int m_saveFilterIndex = 1;
};
