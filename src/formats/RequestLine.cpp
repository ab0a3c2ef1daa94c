#include "formats/RequestLine.h"

#include "formats/ProfileNumbers.h"

#include <array>
#include <utility>

namespace veldran {
namespace {

constexpr std::string_view kProfileWord = "profile";
constexpr std::string_view kExportWord = "export";
constexpr std::string_view kImportWord = "import";

Request invalid(std::string message) {
    Request request;
    request.error = std::move(message);
    return request;
}

Request ofKind(Request::Kind kind, int profile = 0) {
    Request request;
    request.kind = kind;
    request.profile = profile;
    return request;
}

} // namespace

RequestFrame frameRequest(std::string_view received) {
    const std::size_t end = received.substr(0, kMaxRequestLine).find('\n');
    if (end == std::string_view::npos) {
        return {received.size() >= kMaxRequestLine ? RequestFrame::Kind::TooLong
                                                   : RequestFrame::Kind::Incomplete,
                {}};
    }
    if (end + 1 < received.size()) {
        return {RequestFrame::Kind::Extra, {}};
    }
    return {RequestFrame::Kind::Line, received.substr(0, end)};
}

Request parseRequestLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.size() >= kMaxRequestLine) {
        return invalid("request line too long");
    }
    static constexpr std::array<std::pair<std::string_view, Request::Kind>, 6> plain{{
        {"show", Request::Kind::Show},
        {"hide", Request::Kind::Hide},
        {"quit", Request::Kind::Quit},
        {"status", Request::Kind::Status},
        {"stop-macros", Request::Kind::StopMacros},
        {"status json", Request::Kind::StatusJson},
    }};
    for (const auto& [word, kind] : plain) {
        if (line == word) {
            return ofKind(kind);
        }
    }
    if (line.substr(0, kProfileWord.size() + 1) == "profile ") {
        const std::string_view argument = line.substr(kProfileWord.size() + 1);
        if (argument == "next") {
            return ofKind(Request::Kind::NextProfile);
        }
        if (const int profile = userProfileDigit(argument)) {
            return ofKind(Request::Kind::Profile, profile);
        }
        return invalid("the profile is 1 to 5 or next");
    }
    for (const auto& [word, kind] : {std::pair{kExportWord, Request::Kind::Export},
                                     std::pair{kImportWord, Request::Kind::Import}}) {
        if (line.substr(0, word.size() + 1) == std::string(word) + ' ') {
            const std::string_view path = line.substr(word.size() + 1);
            // The driver's working folder is not the caller's: only a whole path names a file.
            if (path.empty() || path.front() != '/' ||
                path.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) {
                return invalid("the file is an absolute path");
            }
            Request request = ofKind(kind);
            request.path = std::string(path);
            return request;
        }
    }
    return invalid("unknown request");
}

std::string requestLine(const Request& request) {
    switch (request.kind) {
    case Request::Kind::Show:
        return "show";
    case Request::Kind::Hide:
        return "hide";
    case Request::Kind::Quit:
        return "quit";
    case Request::Kind::Status:
        return "status";
    case Request::Kind::StopMacros:
        return "stop-macros";
    case Request::Kind::StatusJson:
        return "status json";
    case Request::Kind::Profile:
        return std::string(kProfileWord) + ' ' + std::to_string(request.profile);
    case Request::Kind::NextProfile:
        return std::string(kProfileWord) + " next";
    case Request::Kind::Export:
        return std::string(kExportWord) + ' ' + request.path;
    case Request::Kind::Import:
        return std::string(kImportWord) + ' ' + request.path;
    case Request::Kind::Invalid:
        break;
    }
    return {};
}

std::string okAnswer(std::string_view text) {
    return text.empty() ? std::string("ok") : "ok " + std::string(text);
}

std::string errorAnswer(std::string_view text) {
    return "error " + std::string(text);
}

std::string printableAnswer(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // C1 controls are U+0080 to U+009F: 0xC2 followed by 0x80 to 0x9F.
        const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (byte < 0x20 || byte == 0x7F || c1) {
            shown += '?';
            i += c1 ? 1 : 0;
            continue;
        }
        shown += text[i];
    }
    return shown;
}

} // namespace veldran
