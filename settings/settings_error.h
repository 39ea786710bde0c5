#pragma once

#include <QString>

#include <exception>
#include <string>

// An error of the program that knows the name of its type and carries its message as Unicode
// text, for the message boxes that report it.
class EProgramError : public std::exception {
  public:
    explicit EProgramError(QString message);
    virtual const char* TypeName() const noexcept = 0;
    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); } // the message in UTF-8

  private:
    QString message_;
    std::string utf8_;
};

// A write to the settings file that did not reach the disk.
class EIniFileException : public EProgramError {
  public:
    // The message is "Unable to write to " and the path, as given.
    explicit EIniFileException(const QString& path);
    const char* TypeName() const noexcept override { return "EIniFileException"; }
};

// "TypeName: message" for any error: the program's errors give their own name and message, other
// errors their C++ type name and what().
QString ErrorTypeAndMessage(const std::exception& error);
