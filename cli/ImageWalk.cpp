// SPDX-License-Identifier: MIT
#include "ImageWalk.h"

#include "ArchiveReader.h"
#include "CueSheet.h"
#include "FoldedNames.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <system_error>

namespace quillon::cli {

namespace fs = std::filesystem;

namespace {

// What a walk takes: these, and the archives' suffixes (ArchiveReader.h). Archives are read as
// files of their own until the program opens them.
constexpr std::array<ImageExtension, 7> imageExtensions{{
    {".bin"},
    {".gen"},
    {".md"},
    {".smd"},
    {".32x"},
    {".iso"},
    {".cue"},
}};

// Every archive's one row: which suffix it had does not matter to the walk.
constexpr ImageExtension archiveExtension{"", true};

// Paths in the program's UTF-8 to and from the system's own form; on POSIX systems a name's
// bytes pass as they are, UTF-8 or not.
fs::path systemPath(const std::string& path) {
#ifdef _WIN32
    return fs::path(std::u8string(path.begin(), path.end()));
#else
    return fs::path(path);
#endif
}

std::string programPath(const fs::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.generic_u8string();
    return {utf8.begin(), utf8.end()};
#else
    return path.string();
#endif
}

// A name under a folder's, with "/" between them, which every system takes and every case
// expects the same.
std::string under(const std::string& folder, const std::string& name) {
#ifdef _WIN32
    const bool ended = folder.ends_with('/') || folder.ends_with('\\');
#else
    const bool ended = folder.ends_with('/');
#endif
    return folder + (ended ? "" : "/") + name;
}

// Every file named or found becomes its inputs here, in one place; an archive is one file, read
// as it is.
void addFile(const std::string& name, std::vector<ImageInput>& inputs) {
    inputs.push_back({name, {}, {}});
}

void walkFolder(const fs::path& folder, const std::string& name, std::vector<ImageInput>& found) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        entries.push_back(*entry);
    if (error) {
        found.push_back({name, {}, Failure(name, error.message())});
        return;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    for (const fs::directory_entry& entry : entries) {
        const std::string leaf = programPath(entry.path().filename());
        if (leaf.starts_with('.'))
            continue;
        // A type that cannot be told leaves the entry a file, whose load then says why.
        std::error_code ignored;
        const bool link = entry.is_symlink(ignored);
        if (!link && entry.is_directory(ignored))
            walkFolder(entry.path(), under(name, leaf), found);
        else if (link && fs::is_directory(entry.status(ignored)))
            continue; // a link back up the tree would never end
        else if (imageExtensionOf(leaf))
            addFile(under(name, leaf), found);
    }
}

// How two spellings of one path compare: "./" and "a/../" taken out, and on Windows in any
// case, as its file systems name files.
std::string samePathKey(const std::string& path) {
    std::string key = programPath(systemPath(path).lexically_normal());
#ifdef _WIN32
    std::transform(key.begin(), key.end(), key.begin(), lowerAscii);
#endif
    return key;
}

// A disc's track files are read through its sheet, once. Only files of the walk's own are
// sheets or tracks, not what the walk could not list nor what is opened otherwise.
void leaveTracksToSheets(std::vector<ImageInput>& walked) {
    const auto isFile = [](const ImageInput& input) { return !input.problem && !input.open; };
    std::set<std::string> tracks;
    for (const ImageInput& input : walked) {
        if (isFile(input) && IsCueSheetPath(input.name)) {
            for (const std::string& file : CueSheetFiles(input.name))
                tracks.insert(samePathKey(file));
        }
    }
    std::erase_if(walked, [&](const ImageInput& input) {
        return isFile(input) && !IsCueSheetPath(input.name) &&
               tracks.contains(samePathKey(input.name));
    });
}

} // namespace

const ImageExtension* imageExtensionOf(std::string_view name) {
    const ImageExtension* found = nullptr;
    if (archiveFormatOf(name))
        return &archiveExtension;
    for (const ImageExtension& extension : imageExtensions) {
        if (endsWithFolded(name, extension.suffix) &&
            (!found || extension.suffix.size() > found->suffix.size()))
            found = &extension;
    }
    return found;
}

std::string imageExtensionList() {
    std::string list;
    for (const ImageExtension& extension : imageExtensions)
        list.append(list.empty() ? "" : ", ").append(extension.suffix);
    return list + ", " + archiveSuffixList();
}

std::vector<ImageInput> walkInputs(const std::vector<std::string>& paths, bool recursive) {
    std::vector<ImageInput> inputs;
    for (const std::string& path : paths) {
        std::error_code ignored;
        if (!recursive || !fs::is_directory(systemPath(path), ignored)) {
            addFile(path, inputs);
            continue;
        }
        std::vector<ImageInput> walked;
        walkFolder(systemPath(path), path, walked);
        leaveTracksToSheets(walked);
        std::move(walked.begin(), walked.end(), std::back_inserter(inputs));
    }
    return inputs;
}

Result<LoadedHeader> loadInput(const ImageInput& input, const ImageLayout* layout) {
    if (input.problem)
        return *input.problem;
    if (!input.open)
        return LoadHeader(input.name, layout);
    Result<std::unique_ptr<RandomAccessFile>> file = input.open();
    if (!file)
        return file.problem();
    return LoadHeader(**file, input.name, layout);
}

} // namespace quillon::cli
