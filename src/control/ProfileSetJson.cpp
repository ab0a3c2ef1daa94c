#include "control/ProfileSetJson.h"

#include "config/MacroRepeat.h"
#include "platform/ProfileStrings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace veldran {
namespace {

// What config.ini can hold so that it reads back the same: a value of up to four characters,
// and the byte that a DPI code and the light mode are kept in.
constexpr std::int32_t kStoredMin = -999;
constexpr std::int32_t kStoredMax = 9999;
constexpr std::int32_t kByteMax = 255;
constexpr int kStoredNameUnits = 10; // Macro.dat keeps the first 10 UTF-16 units of a name
// Twelve full macros and 10,000 rules take well under a megabyte.
constexpr std::uintmax_t kMaxFileBytes = 16 * 1024 * 1024;

QJsonArray numbers(const auto& values) {
    QJsonArray array;
    for (const auto value : values) {
        array.append(static_cast<int>(value));
    }
    return array;
}

QJsonObject profileObject(const StoredProfile& profile) {
    return {{"buttons", numbers(profile.buttons)},
            {"dpiLevel", profile.dpiLevel},
            {"wheel", profile.wheel},
            {"dpi", numbers(profile.dpi)},
            {"light", profile.light}};
}

QJsonValue actionValue(std::uint8_t action) {
    if (action == static_cast<std::uint8_t>(MacroAction::Press)) {
        return QStringLiteral("press");
    }
    if (action == static_cast<std::uint8_t>(MacroAction::Release)) {
        return QStringLiteral("release");
    }
    return static_cast<int>(action);
}

QJsonObject macroObject(const StoredMacro& macro) {
    QJsonArray events;
    for (const MacroEvent& event : macro.events) {
        events.append(QJsonObject{
            {"code", event.code}, {"action", actionValue(event.action)}, {"pause", event.pause}});
    }
    const QJsonValue repeat = macro.repeat == kRepeatLoop ? QJsonValue(QStringLiteral("toggle"))
                                                          : QJsonValue(macro.repeat);
    return {{"name", QString::fromStdString(macro.name)}, {"repeat", repeat}, {"events", events}};
}

QJsonObject programsObject(const ProgramRules& programs) {
    QJsonArray rules;
    for (const ProgramRule& rule : programs.rules) {
        rules.append(QJsonObject{{"program", QString::fromStdString(rule.program)},
                                 {"profile", rule.profile}});
    }
    return {{"enabled", programs.enabled}, {"notify", programs.notify}, {"rules", rules}};
}

// Reads the fields of one object; the first problem is kept and ends the reading.
class Reader {
public:
    std::string problem;

    bool failed() const { return !problem.empty(); }

    void fail(const std::string& field, const std::string& what) {
        if (problem.empty()) {
            problem = field + ": " + what;
        }
    }

    std::int32_t number(const QJsonValue& value, const std::string& field, std::int32_t min,
                        std::int32_t max) {
        const double v = value.toDouble(std::nan(""));
        if (!value.isDouble() || std::floor(v) != v || v < min || v > max) {
            fail(field,
                 "a whole number from " + std::to_string(min) + " to " + std::to_string(max));
            return min;
        }
        return static_cast<std::int32_t>(v);
    }

    QJsonArray array(const QJsonObject& object, const char* key, const std::string& field,
                     qsizetype minSize, qsizetype maxSize) {
        const QJsonValue value = object.value(QLatin1String(key));
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() < minSize || array.size() > maxSize) {
            fail(field, minSize == maxSize ? "a list of " + std::to_string(minSize)
                                           : "a list of at most " + std::to_string(maxSize));
            return {};
        }
        return array;
    }

    QJsonObject object(const QJsonValue& value, const std::string& field) {
        if (!value.isObject()) {
            fail(field, "an object");
        }
        return value.toObject();
    }

    bool flag(const QJsonObject& object, const char* key, const std::string& field) {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            return true;
        }
        if (!value.isBool()) {
            fail(field, "true or false");
        }
        return value.toBool(true);
    }

    StoredProfile profile(const QJsonValue& value, const std::string& field) {
        StoredProfile profile;
        const QJsonObject o = object(value, field);
        const QJsonArray buttons = array(o, "buttons", field + ".buttons", kSlotCount, kSlotCount);
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            profile.buttons[static_cast<std::size_t>(i)] = number(
                buttons[i], field + ".buttons[" + std::to_string(i) + "]", kStoredMin, kStoredMax);
        }
        profile.dpiLevel = number(o["dpiLevel"], field + ".dpiLevel", kStoredMin, kStoredMax);
        profile.wheel = number(o["wheel"], field + ".wheel", kStoredMin, kStoredMax);
        const QJsonArray dpi = array(o, "dpi", field + ".dpi", kStageCount, kStageCount);
        for (qsizetype i = 0; i < dpi.size(); ++i) {
            profile.dpi[static_cast<std::size_t>(i)] =
                number(dpi[i], field + ".dpi[" + std::to_string(i) + "]", 0, kByteMax);
        }
        profile.light = number(o["light"], field + ".light", 0, kByteMax);
        return profile;
    }

    std::uint8_t action(const QJsonValue& value, const std::string& field) {
        if (value == QJsonValue(QStringLiteral("press"))) {
            return static_cast<std::uint8_t>(MacroAction::Press);
        }
        if (value == QJsonValue(QStringLiteral("release"))) {
            return static_cast<std::uint8_t>(MacroAction::Release);
        }
        if (!value.isDouble()) {
            fail(field, "\"press\", \"release\" or a whole number from 0 to 255");
            return 0;
        }
        return static_cast<std::uint8_t>(number(value, field, 0, kByteMax));
    }

    int repeat(const QJsonValue& value, const std::string& field) {
        if (value.isUndefined()) {
            return kRepeatOnce;
        }
        if (value == QJsonValue(QStringLiteral("toggle"))) {
            return kRepeatLoop;
        }
        if (!value.isDouble()) {
            fail(field, "\"toggle\" or a whole number from 1 to 99");
            return kRepeatOnce;
        }
        return number(value, field, kRepeatOnce, kRepeatMaxCount);
    }

    StoredMacro macro(const QJsonValue& value, const std::string& field) {
        StoredMacro macro;
        const QJsonObject o = object(value, field);
        const QJsonValue name = o["name"];
        if (!name.isString() || name.toString().size() > kStoredNameUnits ||
            name.toString().contains(QChar(0))) {
            fail(field + ".name",
                 "a text of at most " + std::to_string(kStoredNameUnits) + " characters");
        }
        macro.name = name.toString().toStdString();
        macro.repeat = repeat(o["repeat"], field + ".repeat");
        const QJsonArray events = array(o, "events", field + ".events", 0, kMacroEventCapacity);
        for (qsizetype k = 0; k < events.size() && !failed(); ++k) {
            const std::string at = field + ".events[" + std::to_string(k) + "]";
            const QJsonObject e = object(events[k], at);
            MacroEvent event;
            event.code = static_cast<std::uint8_t>(number(e["code"], at + ".code", 0, kByteMax));
            event.action = action(e["action"], at + ".action");
            event.pause = static_cast<std::uint16_t>(number(e["pause"], at + ".pause", 0, 65535));
            macro.events.push_back(event);
        }
        return macro;
    }

    ProgramRules programs(const QJsonValue& value, const std::string& field) {
        ProgramRules programs;
        if (value.isUndefined()) {
            return programs; // no rules, as without programs.ini
        }
        const QJsonObject o = object(value, field);
        programs.enabled = flag(o, "enabled", field + ".enabled");
        programs.notify = flag(o, "notify", field + ".notify");
        const QJsonArray rules =
            array(o, "rules", field + ".rules", 0, static_cast<qsizetype>(kMaxProgramRules));
        for (qsizetype i = 0; i < rules.size() && !failed(); ++i) {
            const std::string at = field + ".rules[" + std::to_string(i) + "]";
            const QJsonObject r = object(rules[i], at);
            ProgramRule rule;
            rule.program = r["program"].toString().toStdString();
            if (!r["program"].isString() || !isValidProgramKey(rule.program)) {
                fail(at + ".program", "a program name on one line, without '=' and without "
                                      "blanks around it");
            }
            rule.profile = number(r["profile"], at + ".profile", 1, kUserProfileCount);
            programs.rules.push_back(std::move(rule));
        }
        return programs;
    }
};

} // namespace

std::string profileSetJson(const ProfileSet& set) {
    QJsonArray profiles;
    for (const StoredProfile& profile : set.profiles) {
        profiles.append(profileObject(profile));
    }
    QJsonArray macros;
    for (const StoredMacro& macro : set.macros) {
        macros.append(macroObject(macro));
    }
    QJsonObject root{{"format", kProfileSetFormat},
                     {"version", kProfileSetVersion},
                     {"selectedProfile", set.selected},
                     {"profiles", profiles},
                     {"macros", macros},
                     {"programs", programsObject(set.programs)}};
    if (set.applied) {
        root.insert("appliedProfile", profileObject(*set.applied));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

ParsedProfileSet parseProfileSetJson(std::string_view text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(text.data(), static_cast<qsizetype>(text.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        return {std::nullopt, "not JSON: " + error.errorString().toStdString() + " at byte " +
                                  std::to_string(error.offset)};
    }
    if (!document.isObject()) {
        return {std::nullopt, "not a JSON object"};
    }
    const QJsonObject root = document.object();
    if (root["format"] != QJsonValue(QLatin1String(kProfileSetFormat))) {
        return {std::nullopt, std::string("format: not \"") + kProfileSetFormat + "\""};
    }
    Reader read;
    const int version = read.number(root["version"], "version", 1, 1'000'000);
    if (read.failed()) {
        return {std::nullopt, read.problem};
    }
    if (version != kProfileSetVersion) {
        return {std::nullopt, "version: " + std::to_string(version) +
                                  " is not the version this driver reads (" +
                                  std::to_string(kProfileSetVersion) + ")"};
    }
    ProfileSet set;
    set.selected = read.number(root["selectedProfile"], "selectedProfile", 1, kUserProfileCount);
    const QJsonArray profiles =
        read.array(root, "profiles", "profiles", kUserProfileCount, kUserProfileCount);
    for (qsizetype n = 0; n < profiles.size() && !read.failed(); ++n) {
        set.profiles[static_cast<std::size_t>(n)] =
            read.profile(profiles[n], "profiles[" + std::to_string(n) + "]");
    }
    if (root.contains("appliedProfile")) {
        set.applied = read.profile(root["appliedProfile"], "appliedProfile");
    }
    const QJsonArray macros = read.array(root, "macros", "macros", 0, kMaxMacros);
    for (qsizetype i = 0; i < macros.size() && !read.failed(); ++i) {
        set.macros.push_back(read.macro(macros[i], "macros[" + std::to_string(i) + "]"));
    }
    set.programs = read.programs(root["programs"], "programs");
    if (read.failed()) {
        return {std::nullopt, read.problem};
    }
    return {std::move(set), {}};
}

std::string exportProfileSet(const SettingsFiles& files, const std::filesystem::path& target) {
    if (!ProfileStrings::replace(target, profileSetJson(readProfileSet(files)))) {
        return "cannot write " + target.string();
    }
    return {};
}

ParsedProfileSet readProfileSetFile(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxFileBytes) {
        return {std::nullopt, file.string() + ": larger than 16 MB, not a profile set"};
    }
    const std::optional<std::string> text = error ? std::nullopt : ProfileStrings::readText(file);
    if (!text) {
        return {std::nullopt, "cannot read " + file.string()};
    }
    ParsedProfileSet parsed = parseProfileSetJson(*text);
    if (!parsed.set) {
        parsed.problem = file.string() + ": " + parsed.problem;
    }
    return parsed;
}

} // namespace veldran
