#include "model/ClassHistory.h"

#include <QUndoCommand>
#include <memory>

namespace {

struct StepData
{
    ClassPlace place;
    ClassChanges changes;
    qint64 cost;
};

} // namespace

class ClassHistory::Step : public QUndoCommand
{
public:
    // done: the step is in the class already; the stack's first redo leaves it as it is.
    Step(ClassHistory& history, const QString& text, std::shared_ptr<const StepData> data)
        : QUndoCommand(text), m_history(history), m_data(std::move(data))
    {
    }

    void undo() override
    {
        if (!m_history.m_rebuilding)
            m_history.m_apply(m_data->place, m_data->changes, false);
    }
    void redo() override
    {
        if (m_done) {
            m_done = false;
            return;
        }
        if (!m_history.m_rebuilding)
            m_history.m_apply(m_data->place, m_data->changes, true);
    }

    const std::shared_ptr<const StepData>& data() const { return m_data; }

private:
    ClassHistory& m_history;
    std::shared_ptr<const StepData> m_data;
    bool m_done = true;
};

ClassHistory::ClassHistory(Apply apply, QObject* parent) : QObject(parent), m_apply(std::move(apply))
{
    const auto tell = [this] {
        if (!m_rebuilding)
            emit changed();
    };
    connect(&m_stack, &QUndoStack::indexChanged, this, tell);
    connect(&m_stack, &QUndoStack::cleanChanged, this, tell);
}

ClassHistory::~ClassHistory()
{
    // The steps go before what they would apply to.
    m_rebuilding = true;
    disconnect(&m_stack, nullptr, this, nullptr);
    m_stack.clear();
}

void ClassHistory::push(const QString& text, const ClassPlace& place, ClassChanges changes)
{
    const qint64 cost = changes.cost() + 2 * text.size() + qint64(sizeof(Step) + sizeof(StepData));
    // The steps undone go as the new one comes.
    for (int i = m_stack.index(); i < m_stack.count(); ++i)
        m_cost -= stepAt(i).data()->cost;
    m_stack.push(new Step(*this, text, std::make_shared<const StepData>(StepData{place, std::move(changes), cost})));
    m_cost += cost;
    if (m_cost > m_budget)
        trim();
}

void ClassHistory::clear()
{
    m_stack.clear();
    m_cost = 0;
}

const ClassHistory::Step& ClassHistory::stepAt(int index) const
{
    return *static_cast<const Step*>(m_stack.command(index));
}

void ClassHistory::trim()
{
    const int count = m_stack.count();
    // Down to three quarters of the budget, so that the history is built again once in many steps, not at every one.
    const qint64 keptBudget = m_budget / 4 * 3;
    qint64 total = 0;
    int kept = 0;
    while (kept < count) {
        const qint64 cost = stepAt(count - 1 - kept).data()->cost;
        if (kept > 0 && total + cost > keptBudget)
            break;
        total += cost;
        ++kept;
    }
    m_cost = total;
    if (kept == count)
        return;
    const int dropped = count - kept;
    QList<std::pair<QString, std::shared_ptr<const StepData>>> steps;
    for (int i = dropped; i < count; ++i)
        steps.append({stepAt(i).text(), stepAt(i).data()});
    const int index = m_stack.index();
    const int clean = m_stack.cleanIndex();
    const bool wasClean = m_stack.isClean();

    m_rebuilding = true;
    m_stack.clear();
    for (int i = 0; i < kept; ++i) {
        if (clean == dropped + i)
            m_stack.setClean();
        m_stack.push(new Step(*this, steps[i].first, steps[i].second));
    }
    if (clean == count)
        m_stack.setClean();
    else if (clean < dropped)
        m_stack.resetClean();
    m_stack.setIndex(std::max(0, index - dropped));
    m_rebuilding = false;
    Q_ASSERT(m_stack.isClean() == wasClean);
    emit changed();
}
