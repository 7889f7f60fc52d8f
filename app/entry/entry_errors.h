// Exception classes of the data-entry components. Each carries the user-facing
// message as UTF-8; a "\r" inside a message is a line break (message boxes show
// it as one). Model code throws them, windows decide how to show them.
#pragma once

#include <QString>
#include <stdexcept>
#include <string>

namespace korvel {

// Base of every error of this module, so callers can catch one type.
class EKorvelError : public std::runtime_error {
  public:
    explicit EKorvelError(const std::string& message) : std::runtime_error(message) {}
    explicit EKorvelError(const QString& message) : std::runtime_error(message.toStdString()) {}
    explicit EKorvelError(const char* message) : std::runtime_error(message) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

// An entry that cannot be read (evaluator and cell validation).
class EAssignError : public EKorvelError {
    using EKorvelError::EKorvelError;
};
// An entry that must be integral but is not.
class EIntError : public EAssignError {
    using EAssignError::EAssignError;
};
// An entry below its lower limit.
class EMinError : public EAssignError {
    using EAssignError::EAssignError;
};
// An entry above its upper limit.
class EMaxError : public EAssignError {
    using EAssignError::EAssignError;
};

// Arithmetic faults met while evaluating an entry (division by zero, a result
// that is not a real number, overflow). Not an entry-format error: edit boxes
// pass its message on unchanged.
class EMathError : public EKorvelError {
    using EKorvelError::EKorvelError;
};

// Misuse of a grid table or a faulty column definition ("Data of wrong type",
// "Error reading column count", ...).
class EGridError : public EKorvelError {
    using EKorvelError::EKorvelError;
};

// Reading a file failed: the file cannot be opened or holds something other
// than what its reader expects. The message names the line and the word.
class EInOutError : public EKorvelError {
    using EKorvelError::EKorvelError;
};

// Message text of any exception, for display.
QString ErrorMessage(const std::exception& error);

}  // namespace korvel
