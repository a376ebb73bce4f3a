#include "FakeSeams.h"
#include "common/Fonts.h"
#include "companions/Planning.h"

#include <QTest>
#include <cmath>

// The subject buttons of the planning window: every caption stands out from its button's colour.
class TestPlanningLook : public QObject
{
    Q_OBJECT

    // The contrast ratio of two colours (WCAG 2), from their relative luminance.
    static double contrast(const QColor& a, const QColor& b)
    {
        const auto luminance = [](const QColor& c) {
            const auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
        };
        const double la = luminance(a) + 0.05, lb = luminance(b) + 0.05;
        return std::max(la, lb) / std::min(la, lb);
    }

private slots:
    void captionsReadOnTheirColour()
    {
        fonts::install();
        FakeSeams fake;
        TPlanning planning;
        for (SubjectPanel* panel : planning.SubjectPanels) {
            const QPalette colours = panel->palette();
            const double ratio = contrast(colours.color(QPalette::Window), colours.color(QPalette::WindowText));
            // 4.5 to 1: the least that normal-sized text needs to be read easily.
            QVERIFY2(ratio >= 4.5, qPrintable(panel->caption() + QStringLiteral(": %1").arg(ratio)));
        }
    }
};

QTEST_MAIN(TestPlanningLook)
#include "TestPlanningLook.moc"
