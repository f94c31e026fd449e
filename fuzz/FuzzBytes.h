// A fuzz input read front to back as values: each take() consumes the bytes
// of one value, zeros once the input runs out, so that every input, however
// short, gives a whole set of values.
#pragma once

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pendrio::fuzzing {

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T> T take() {
        T value{};
        const std::size_t n = std::min(sizeof value, size_);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

    // What is left, as UTF-8 text.
    QString rest() const {
        return QString::fromUtf8(reinterpret_cast<const char*>(data_), qsizetype(size_));
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

} // namespace pendrio::fuzzing
