// SPDX-License-Identifier: MIT
#include "EditCommands.h"

#include "FieldKinds.h"
#include "FieldValues.h"
#include "HeaderLint.h"
#include "HeaderReport.h"
#include "ImageInputs.h"
#include "RomConversion.h"
#include "TextDisplay.h"

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>

namespace quillon::cli {

namespace {

using Json = nlohmann::ordered_json;

// One stretch of bytes to write, and the field it belongs to.
struct Change {
    std::string_view label;
    HeaderPatch patch;
};

// All a subcommand would do to one file.
struct Plan {
    std::vector<Change> changes;
    std::optional<Growth> growth;
};

const HeaderField& romEndField() { return headerField(FieldId::RomEnd); }

Change checksumChange(RomChecksum value) {
    const ChecksumBytes bytes = SplitChecksum(value);
    return {fieldName(headerField(FieldId::Checksum).label),
            {ChecksumWord::offset, {static_cast<char>(bytes.high), static_cast<char>(bytes.low)}}};
}

std::uint32_t romEndOf(const LoadedHeader& header) {
    return ReadAddress(header.bytes.data() + romEndField().offset);
}

// Whether the change writes other bytes than the file holds.
bool changesBytes(const LoadedHeader& before, const Change& change) {
    const HeaderPatch& patch = change.patch;
    return hexOrMissing(before, patch.offset, static_cast<std::uint32_t>(patch.bytes.size())) !=
           hexBytes(patch.bytes);
}

// The file as the plan leaves it, shown without writing it: each stretch whose bytes change,
// old and new.
void showPlan(const std::string& path, const LoadedHeader& before, const Plan& plan, bool json,
              std::ostream& out) {
    Json changes = Json::array();
    std::vector<std::string> lines;
    if (plan.growth && plan.growth->size > before.fileSize) {
        const std::uint64_t count = plan.growth->size - before.fileSize;
        const std::string fill = hexBytes(std::string(1, static_cast<char>(plan.growth->fill)));
        changes.push_back(
            {{"offset", before.fileSize}, {"old", ""}, {"new", fill}, {"count", count}});
        lines.push_back("append " + std::to_string(count) + " bytes of " + fill + " (" +
                        std::to_string(before.fileSize) + " -> " +
                        std::to_string(plan.growth->size) + " bytes)");
    }
    for (const Change& change : plan.changes) {
        if (!changesBytes(before, change))
            continue;
        const HeaderPatch& patch = change.patch;
        const std::string old =
            hexOrMissing(before, patch.offset, static_cast<std::uint32_t>(patch.bytes.size()));
        const std::string now = hexBytes(patch.bytes);
        changes.push_back({{"offset", patch.offset}, {"old", old}, {"new", now}});
        lines.push_back("0x" + ToHex(patch.offset) + " " + std::string(change.label) + ": " + old +
                        " -> " + now);
    }
    if (json) {
        Json object;
        object["path"] = path;
        object["path_hex"] = hexBytes(path);
        object["changes"] = changes;
        out << object.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
        return;
    }
    if (lines.empty())
        lines.push_back("no change");
    for (const std::string& line : lines)
        out << displayText(path) << ": " << line << '\n';
}

// set and fix write only into a whole header; pad may first make a short file long enough.
HeaderEdit editOf(const Plan& plan) {
    HeaderEdit edit;
    for (const Change& change : plan.changes)
        edit.patches.push_back(change.patch);
    edit.growth = plan.growth;
    edit.wholeHeader = !plan.growth;
    return edit;
}

// Shows the plan with --dry-run, or writes it and then says what was done.
ExitStatus carryOut(const std::string& path, const LoadedHeader* before, const Plan& plan,
                    const EditOutput& output, Streams streams,
                    const std::function<void()>& sayDone) {
    if (output.dryRun) {
        showPlan(path, *before, plan, output.json, streams.out);
        return Done;
    }
    if (plan.changes.empty() && !plan.growth) {
        sayDone();
        return Done;
    }
    const ExitStatus status = writeEdit(path, output.layout, editOf(plan), streams);
    if (status == Done)
        sayDone();
    return status;
}

// "Overseas Name, ROM End, checksum 1A2B": what set wrote, the checksum with its value.
std::string joinedLabels(const std::vector<Change>& changes) {
    std::string text;
    for (const Change& change : changes) {
        text.append(text.empty() ? "" : ", ");
        if (change.patch.offset == ChecksumWord::offset)
            text.append("checksum ").append(hexBytes(change.patch.bytes));
        else
            text.append(change.label);
    }
    return text;
}

// What fix and pad --fix change: the checksum the ROM will sum to, and its end.
struct Fixes {
    std::optional<RomChecksum> checksum;
    std::optional<std::uint64_t> romSize;
};

// Adds the fixes to the plan; the lines that will say what they did, or what they left.
std::vector<std::string> planFixes(const LoadedHeader& before, const Fixes& fixes, Plan& plan) {
    std::vector<std::string> said;
    if (fixes.checksum) {
        const std::string now = FormatRomChecksum(*fixes.checksum);
        if (storedChecksum(before) == now) {
            said.push_back("already " + now);
        } else {
            plan.changes.push_back(checksumChange(*fixes.checksum));
            said.push_back("stored " + now + " (was " +
                           hexOrMissing(before, ChecksumWord::offset, ChecksumWord::length) + ")");
        }
    }
    if (fixes.romSize) {
        const std::uint32_t was = romEndOf(before);
        const auto end = static_cast<std::uint32_t>(*fixes.romSize - 1);
        if (*fixes.romSize == 0 || *fixes.romSize > largestRomSize) {
            said.push_back("ROM end left at " + FormatAddress(was) + ": a ROM of " +
                           std::to_string(*fixes.romSize) + " bytes has no end a header can name");
        } else if (IsSsf(before.bytes)) {
            said.push_back("ROM end kept at " + FormatAddress(was) +
                           ": a SEGA SSF ROM's mapper decides it");
        } else if (was == end && hasWholeHeader(before)) {
            said.push_back("ROM end already " + FormatAddress(end));
        } else {
            plan.changes.push_back(
                {fieldName(romEndField().label), {romEndField().offset, EncodeAddress(end)}});
            said.push_back("ROM end " + FormatAddress(end) + " (was " +
                           hexOrMissing(before, romEndField().offset, romEndField().length) + ")");
        }
    }
    return said;
}

void sayLines(const std::string& path, const std::vector<std::string>& lines, Streams streams) {
    for (const std::string& line : lines)
        streams.out << displayText(path) << ": " << line << '\n';
}

// The rules whose findings an edit that brings them on is warned of: the console will no
// longer start the ROM.
constexpr std::array<std::string_view, 1> warnedRules{"tmss"};

// Warns of each such finding the plan brings on, in lint's words.
void warnOfFindings(const std::string& path, const LoadedHeader& before, const Plan& plan,
                    std::ostream& err) {
    LoadedHeader after = before;
    for (const Change& change : plan.changes) {
        const HeaderPatch& patch = change.patch;
        for (std::size_t i = 0; i < patch.bytes.size(); ++i) {
            if (patch.offset + i < after.bytes.size())
                after.bytes[patch.offset + i] = static_cast<std::uint8_t>(patch.bytes[i]);
        }
    }
    const std::vector<LintFinding> had = LintHeader(before);
    for (const LintFinding& finding : LintHeader(after)) {
        const auto sameRule = [&](const LintFinding& old) { return old.id == finding.id; };
        if (std::find(warnedRules.begin(), warnedRules.end(), finding.id) != warnedRules.end() &&
            std::none_of(had.begin(), had.end(), sameRule))
            warn(err, displayText(path) + ": " + finding.message + "; " + finding.effect);
    }
}

// set on one file read: the fields whose bytes change, the checksum last.
ExitStatus setFile(const std::string& path, const LoadedHeader& before,
                   const std::vector<Change>& fields, const SetRequest& request, Streams streams) {
    Plan plan{fields, std::nullopt};
    // A dry run refuses what the write would, so it never shows bytes that cannot be written.
    // A layout in doubt is never written: the write says so.
    if (!before.doubtful) {
        for (const Change& change : plan.changes) {
            const std::string why = WriteStartRefusal(*before.layout, change.patch.offset);
            if (!why.empty())
                return report(streams.err, Refusal(path, why), Doing::Writing);
        }
    }
    if (request.fixChecksum) {
        if (const auto refused = wholeRomRefusal(path, before))
            return report(streams.err, *refused, Doing::Writing);
        plan.changes.push_back(checksumChange(before.calculated));
    }
    // The fields in the order of their tables, the checksum last; in a layout in doubt what
    // the bytes hold is not known, so nothing is taken for unchanged.
    std::stable_partition(plan.changes.begin(), plan.changes.end(), [](const Change& change) {
        return change.patch.offset != ChecksumWord::offset;
    });
    if (!before.doubtful)
        std::erase_if(plan.changes,
                      [&](const Change& change) { return !changesBytes(before, change); });
    const ExitStatus status = carryOut(path, &before, plan, request.output, streams, [&] {
        streams.out << displayText(path) << ": "
                    << (plan.changes.empty() ? "unchanged"
                                             : "written: " + joinedLabels(plan.changes))
                    << '\n';
    });
    if (status == Done)
        warnOfFindings(path, before, plan, streams.err);
    return status;
}

// Loads a file a write is to change; an archive, or a member of one, is refused.
std::optional<LoadedHeader> loadToWrite(const std::string& path, const ImageLayout* layout,
                                        Streams streams, ExitStatus& status) {
    if (const auto refused = archiveWriteRefusal(path)) {
        raise(status, report(streams.err, *refused, Doing::Writing));
        return std::nullopt;
    }
    return loadHeader(path, layout, streams, status);
}

} // namespace

ExitStatus setFields(const SetRequest& request, Streams streams) {
    std::vector<Change> fields;
    for (const HeaderField& field : HeaderFields) {
        const auto& typed = request.values[field.index];
        if (!typed)
            continue;
        const Result<ByteText> value = fieldKind(field.kind).parse(*typed, field);
        if (!value)
            return refuseValue(streams.err, optionName(field.key), value.problem().reason);
        fields.push_back({fieldName(field.label), {field.offset, *value}});
    }
    if (fields.empty() && !request.fixChecksum) {
        say(streams.err, "set names no field and no checksum; nothing written");
        return BadInput;
    }
    // Every file is read before any is written; one that cannot be is told as a write that
    // failed, since set writes, unless the run only shows.
    ExitStatus status = Done;
    std::vector<std::pair<const std::string*, LoadedHeader>> loaded;
    for (const std::string& path : request.paths) {
        if (const auto refused = archiveWriteRefusal(path)) {
            raise(status, report(streams.err, *refused, Doing::Writing));
            continue;
        }
        Result<LoadedHeader> header = LoadHeaderToEdit(path, request.output.layout);
        if (header)
            loaded.emplace_back(&path, std::move(*header));
        else
            raise(status, report(streams.err, header.problem(),
                                 request.output.dryRun ? Doing::Reading : Doing::Writing));
    }
    for (const auto& [path, before] : loaded)
        raise(status, setFile(*path, before, fields, request, streams));
    return status;
}

ExitStatus fixFiles(const FixRequest& request, Streams streams) {
    ExitStatus status = Done;
    for (const std::string& path : request.paths) {
        const auto before = loadToWrite(path, request.output.layout, streams, status);
        if (!before)
            continue;
        if (const auto refused = wholeRomRefusal(path, *before)) {
            raise(status, report(streams.err, *refused, Doing::Writing));
            continue;
        }
        Plan plan;
        const Fixes fixes{request.checksum ? std::optional(before->calculated) : std::nullopt,
                          request.romEnd ? std::optional(before->romSize) : std::nullopt};
        const std::vector<std::string> said = planFixes(*before, fixes, plan);
        raise(status, carryOut(path, &*before, plan, request.output, streams,
                               [&] { sayLines(path, said, streams); }));
    }
    return status;
}

ExitStatus padFiles(const PadRequest& request, Streams streams) {
    ExitStatus status = Done;
    const auto fill = static_cast<std::uint8_t>(request.fill == "00" ? 0x00 : 0xFF);
    for (const std::string& path : request.paths) {
        const auto before = loadToWrite(path, request.output.layout, streams, status);
        if (!before)
            continue;
        if (const std::string why = GrowthRefusal(RecognitionOf(*before)); !why.empty()) {
            raise(status, report(streams.err, Refusal(path, why), Doing::Writing));
            continue;
        }
        const Result<std::uint64_t> size = parseSizeValue(request.size, before->fileSize);
        if (!size)
            return refuseValue(streams.err, "--to", size.problem().reason);
        if (*size < before->fileSize) {
            raise(status,
                  report(streams.err,
                         Refusal(path, std::to_string(before->fileSize) + " bytes, more than the " +
                                           std::to_string(*size) + " asked for; pad only appends"),
                         Doing::Writing));
            continue;
        }
        Plan plan;
        std::vector<std::string> said;
        if (*size > before->fileSize) {
            plan.growth = Growth{*size, fill};
            said.push_back("padded to " + std::to_string(*size) + " bytes with " +
                           hexBytes(std::string(1, static_cast<char>(fill))) + " (was " +
                           std::to_string(before->fileSize) + ")");
        } else {
            said.push_back("already " + std::to_string(*size) + " bytes");
        }
        if (request.fix) {
            RomChecksumAccumulator sum = before->sumAtEnd;
            sum.addRepeated(fill, *size - before->fileSize);
            const std::vector<std::string> fixed = planFixes(*before, {sum.result(), *size}, plan);
            said.insert(said.end(), fixed.begin(), fixed.end());
        }
        raise(status, carryOut(path, &*before, plan, request.output, streams,
                               [&] { sayLines(path, said, streams); }));
    }
    return status;
}

ExitStatus convertFile(const ConvertRequest& request, Streams streams) {
    const auto& layouts = ImageLayouts();
    const ImageLayout& to = **std::find_if(layouts.begin(), layouts.end(), [&](const auto* layout) {
        return layout->convertKey == request.to;
    });
    if (const auto refused = archiveWriteRefusal(request.source))
        return report(streams.err, *refused, Doing::Converting);
    const Result<Converted> result =
        ConvertRom(request.source, request.destination, to, request.force, request.layout);
    if (!result)
        return report(streams.err, result.problem(), Doing::Converting);
    streams.out << displayText(request.source) << " (" << result->from->key << ") -> "
                << displayText(request.destination) << " (" << to.key << ", " << result->size
                << " bytes)\n";
    return Done;
}

} // namespace quillon::cli
