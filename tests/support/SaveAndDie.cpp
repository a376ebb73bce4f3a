// save_and_die <file> <generation> <step>: saves a large class to the file as the class window does, and is
// killed at the step named: "opened", "half" (half the bytes written), "written", "synced" or "renamed"; any
// other step lets the save finish. Each generation gives other texts, so that old and new files differ.
#include "FailDevice.h"
#include "classbook/ClassFile.h"
#include "common/TextFile.h"

#include <csignal>

namespace {

struct Killer : filewriter::Probe
{
    QString step;
    qint64 half = 0;

    std::unique_ptr<QIODevice> device(QIODevice& file) override
    {
        return step == "half" ? std::make_unique<FailDevice>(file, half, [] { std::raise(SIGKILL); }) : nullptr;
    }
    void reached(filewriter::Step reached) override
    {
        const char* const names[] = {"opened", "written", "synced", "renamed"};
        if (step == names[static_cast<int>(reached)])
            std::raise(SIGKILL);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    ClassTable table;
    for (int row = ClassTable::FirstRow; row <= 62; ++row)
        for (int slot = 2; slot <= 47; ++slot) // long remarks (slot 44) make some hundreds of kilobytes
            table.at(row, slot) = QString(slot == ClassTable::Remarks ? 8000 : 1, QChar(u'a' + row % 26)) + argv[2];
    const QByteArray bytes = classfile::write(table, classfile::Widths{});
    Killer killer;
    killer.step = argv[3];
    killer.half = bytes.size() / 2;
    filewriter::setProbe(&killer);
    textfile::writeBytes(QString::fromLocal8Bit(argv[1]), bytes);
    return 0;
}
