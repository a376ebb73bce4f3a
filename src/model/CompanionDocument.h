#pragma once

#include <QByteArray>

// The seating plan or the annual planning as its owner sees it: a document that can be read from its
// file, written to it, and started afresh.
class CompanionDocument
{
public:
    virtual ~CompanionDocument() = default;

    virtual bool modified() const = 0;
    virtual void setModified(bool modified) = 0;
    // The whole file as it would be written now.
    virtual QByteArray toBytes() const = 0;
    // Takes what a file holds; the document is then not modified.
    virtual void load(const QByteArray& bytes) = 0;
    // Back to what the program starts with, not modified.
    virtual void reset() = 0;
    // What its window shows and the document does not hold yet is taken in, before the document is written.
    virtual void settle() {}
};
