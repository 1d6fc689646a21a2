#pragma once
// Where print settings are kept: the registry-like typed store or an INI file. Both read
// and write the values by name; the registry store also keeps the "ID" flag of a saved set.

#include <QString>

namespace mv {

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // Whether loading reads anything: registry "ID" is 1; the INI file exists.
    virtual bool hasSavedSet() = 0;
    // A text value; missing (or, in the registry, not a text) gives "".
    virtual QString readText(const QString& name) = 0;
    // A number; missing or of another type gives 0 (INI: the text read as an integer).
    virtual int readNumber(const QString& name) = 0;
    virtual void writeText(const QString& name, const QString& value) = 0;
    virtual void writeNumber(const QString& name, int value) = 0;
    // Registry: "ID" = 1 or 0. INI: nothing.
    virtual void markSaved(bool saved) = 0;

    // Whether a write failed since the last forgetWriteFailures() (the file or the registry
    // key could not be written).
    bool writeFailed() const { return m_writeFailed; }
    void forgetWriteFailures() { m_writeFailed = false; }

protected:
    void noteWrite(bool written)
    {
        if (!written)
            m_writeFailed = true;
    }

private:
    bool m_writeFailed = false;
};

} // namespace mv
