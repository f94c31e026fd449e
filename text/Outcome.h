// A value, or the reason for the user why there is none: the one shape in
// which the text layer, the files and the windows say "failed, and why".
// The reason is already translated; an Outcome that holds a value has none.
//
//     Outcome<double> length = ReadLength(text);
//     if (!length) { note->setText(length.reason()); return; }
//     use(*length);
//
// Outcome<void> is "done, or why not", for writing a file and the like.
#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace pendrio {

template <typename T>
class Outcome {
public:
    Outcome(T value) : value_(std::move(value)) {} // NOLINT: a value is a success
    static Outcome Refused(QString reason) { return Outcome(std::nullopt, std::move(reason)); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const T& value() const { return value_.value(); }
    T valueOr(T fallback) const { return value_.value_or(std::move(fallback)); }
    // Empty exactly when there is a value.
    const QString& reason() const { return reason_; }

private:
    Outcome(std::nullopt_t, QString reason) : reason_(std::move(reason)) {}
    std::optional<T> value_;
    QString reason_;
};

template <>
class Outcome<void> {
public:
    Outcome() = default; // done
    static Outcome Refused(QString reason) {
        Outcome refused;
        refused.reason_ = std::move(reason);
        refused.done_ = false;
        return refused;
    }

    bool ok() const { return done_; }
    explicit operator bool() const { return ok(); }
    const QString& reason() const { return reason_; }

private:
    bool done_ = true;
    QString reason_;
};

using Done = Outcome<void>;

} // namespace pendrio
