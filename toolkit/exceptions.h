#pragma once
// The error family. Every failure the program raises is one of these; the
// application's error routine (application.h) decides what becomes of it.

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// The silent abort: dropped by the error routine even without a hook.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
    using Exception::Exception;
};

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class EJPEG : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

class EReadError : public Exception {
public:
    using Exception::Exception;
};

class EFOpenError : public Exception {
public:
    using Exception::Exception;
};

class EOSError : public Exception {
public:
    using Exception::Exception;
};

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};
