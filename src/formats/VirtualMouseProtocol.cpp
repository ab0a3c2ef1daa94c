#include "formats/VirtualMouseProtocol.h"

#include "formats/HidInterfaces.h"

#include <charconv>

namespace veldran::virtualmouse {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

std::optional<std::uint32_t> parseHex(std::string_view token, std::size_t maxDigits) {
    if (token.empty() || token.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value, 16);
    if (error != std::errc() || end != token.data() + token.size()) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') {
            ++pos;
        }
        if (pos > start) {
            out.push_back(text.substr(start, pos - start));
        }
    }
    return out;
}

std::string hex4(std::uint16_t value) {
    return {kDigits[(value >> 12) & 0xF], kDigits[(value >> 8) & 0xF], kDigits[(value >> 4) & 0xF],
            kDigits[value & 0xF]};
}

} // namespace

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(std::string_view text) {
    std::vector<std::uint8_t> out;
    for (const std::string_view token : words(text)) {
        const auto value = parseHex(token, 2);
        if (!value) {
            return std::nullopt;
        }
        out.push_back(static_cast<std::uint8_t>(*value));
    }
    return out;
}

std::string formatInterfaceLine(const InterfaceLine& line) {
    std::string descriptor;
    for (const std::uint8_t b : line.descriptor) {
        descriptor += kDigits[b >> 4];
        descriptor += kDigits[b & 0xF];
    }
    return "interface " + line.path + " " + hex4(line.vendorId) + " " + hex4(line.productId) + " " +
           descriptor;
}

std::optional<InterfaceLine> parseInterfaceLine(std::string_view text) {
    const auto w = words(text);
    if (w.size() != 5 || w[0] != "interface" || w[4].size() % 2 != 0) {
        return std::nullopt;
    }
    const auto vendor = parseHex(w[2], 4);
    const auto product = parseHex(w[3], 4);
    if (!vendor || !product) {
        return std::nullopt;
    }
    InterfaceLine line{std::string(w[1]),
                       static_cast<std::uint16_t>(*vendor),
                       static_cast<std::uint16_t>(*product),
                       {}};
    for (std::size_t i = 0; i < w[4].size(); i += 2) {
        const auto value = parseHex(w[4].substr(i, 2), 2);
        if (!value) {
            return std::nullopt;
        }
        line.descriptor.push_back(static_cast<std::uint8_t>(*value));
    }
    return line;
}

std::optional<std::vector<HidInterfaceInfo>> interfacesOf(const InterfaceLine& line) {
    return interfacesOfNode(line.path, line.vendorId, line.productId, line.descriptor);
}

std::pair<std::string_view, std::string_view> splitCommand(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) {
        ++start;
    }
    line.remove_prefix(start);
    const std::size_t blank = line.find_first_of(" \t");
    if (blank == std::string_view::npos) {
        return {line, {}};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

bool LineSplitter::feed(std::string_view bytes) {
    if (start_ > 0 && start_ * 2 >= pending_.size()) {
        pending_.erase(0, start_);
        start_ = 0;
    }
    pending_.append(bytes);
    const std::size_t lastNewline = pending_.rfind('\n');
    const std::size_t tail =
        lastNewline == std::string::npos || lastNewline < start_ ? start_ : lastNewline + 1;
    return pending_.size() - tail <= kMaxLineLength;
}

bool LineSplitter::hasLine() const {
    return pending_.find('\n', start_) != std::string::npos;
}

std::optional<std::string> LineSplitter::next() {
    const std::size_t newline = pending_.find('\n', start_);
    if (newline == std::string::npos) {
        return std::nullopt;
    }
    std::string line = pending_.substr(start_, newline - start_);
    start_ = newline + 1;
    if (start_ == pending_.size()) {
        pending_.clear();
        start_ = 0;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

} // namespace veldran::virtualmouse
