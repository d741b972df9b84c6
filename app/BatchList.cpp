#include "app/BatchList.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "app/Messages.h"
#include "app/TextKeys.h"
#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"

namespace velinor::app {

namespace {

using platform::ControlId;

// Files named in the box about files not added; the rest are counted.
constexpr std::size_t kNamedRefusals = 5;

// An entry of LstBatch: its text and the full path kept with it (empty when the text is one).
struct Entry {
    std::string text;
    std::string data;
};

Entry ReadEntry(const platform::Platform& p, int index) {
    return {p.ItemText(ControlId::LstBatch, index), p.ItemData(ControlId::LstBatch, index)};
}

void WriteEntry(platform::Platform& p, int index, const Entry& entry) {
    p.SetItemText(ControlId::LstBatch, index, entry.text);
    p.SetItemData(ControlId::LstBatch, index, entry.data);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::int64_t FileSize(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status)) return -2;
    if (!fs::is_regular_file(status)) return -1;
    const std::uintmax_t size = fs::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

bool IsBatchExtension(const std::string& extension) {
    return imageio::CountsFor(extension, imageio::kBatchAdd);
}

void AddExplorerSelection(ProgramState& state) {
    platform::Platform& p = state.platform;
    const std::string folder = p.GetText(ControlId::LstExplorer);
    const int count = p.ItemCount(ControlId::LstExplorer);
    std::vector<std::string> refused;
    for (int i = 0; i < count; ++i) {
        const int itemState = p.ItemState(ControlId::LstExplorer, i);
        if ((itemState & platform::kItemFile) == 0 || (itemState & platform::kItemSelected) == 0) continue;
        const std::string name = p.ItemText(ControlId::LstExplorer, i);
        if (!IsBatchExtension(imageio::ExtensionPart(name))) continue;
        const std::string path = folder + name;
        if (FileSize(path) > 0) {
            p.AddItem(ControlId::LstBatch, path);
        } else {
            refused.push_back(name);
        }
    }
    // One box for all the files not added, however many: the first few by name, and the count.
    if (refused.empty()) return;
    std::string names;
    for (std::size_t i = 0; i < std::min(refused.size(), kNamedRefusals); ++i) names += (i > 0 ? ", " : "") + refused[i];
    if (refused.size() > kNamedRefusals) {
        names += ", ... (" + std::to_string(refused.size()) + " " + state.texts[kTextFilesInAll] + ")";
    }
    p.MessageBox(state.texts[kTextWarning], state.texts[kTextEmptyFileStart] + names + state.texts[kTextEmptyFileEnd],
                 platform::MessageIcon::None, platform::MessageButtons::Ok);
}

std::string BatchEntryPath(const ProgramState& state, int index) {
    // Entries from a folder start argument show their file part and keep the full path as data.
    std::string path = state.platform.ItemData(ControlId::LstBatch, index);
    return path.empty() ? state.platform.ItemText(ControlId::LstBatch, index) : path;
}

std::vector<std::string> BatchEntries(const ProgramState& state) {
    const int count = state.platform.ItemCount(ControlId::LstBatch);
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) entries.push_back(BatchEntryPath(state, i));
    return entries;
}

void RemoveSelectedEntry(ProgramState& state) {
    platform::Platform& p = state.platform;
    const int selected = p.GetState(ControlId::LstBatch);
    if (selected < 0) return;
    p.RemoveItem(ControlId::LstBatch, selected);
    p.SetState(ControlId::LstBatch, selected);
}

bool SortsBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<unsigned char>(LowerAscii(x)) < static_cast<unsigned char>(LowerAscii(y));
    });
}

void SortEntriesDescending(ProgramState& state) {
    platform::Platform& p = state.platform;
    const int count = p.ItemCount(ControlId::LstBatch);
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) entries.push_back(ReadEntry(p, i));
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return SortsBefore(a.text, b.text); });
    for (int i = 0; i < count; ++i) WriteEntry(p, i, entries[static_cast<std::size_t>(i)]);
}

void MoveSelectedEntry(ProgramState& state, int offset) {
    platform::Platform& p = state.platform;
    const int selected = p.GetState(ControlId::LstBatch);
    if (selected < 0) {
        ShowInformation(state, kTextInformation, kTextNoEntry);
        return;
    }
    const int other = selected + offset;
    // The first entry has nothing above it and the last nothing below: swapping with a
    // neighbour that does not exist would blank an entry.
    if (other < 0 || other >= p.ItemCount(ControlId::LstBatch)) return;
    const Entry first = ReadEntry(p, selected);
    WriteEntry(p, selected, ReadEntry(p, other));
    WriteEntry(p, other, first);
    p.EnsureItemVisible(ControlId::LstBatch, other);
    p.SetState(ControlId::LstBatch, other);
}

}  // namespace velinor::app
