// The error that a failing database operation raises, carrying the engine's
// own text so that the window that shows it can quote it.
#pragma once

#include <QString>
#include <stdexcept>

namespace store {

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

} // namespace store
