// Random OpenDocuments through their reader: the mimetype's place, the ZIP
// directory, the inflate within the document's budget, the XML reader,
// and the body's rules for paragraphs, cells and their repetition. The
// first byte chooses what the rest is:
//   even: a whole file, as a file holds it (an archive, or flat XML);
//   odd:  content.xml, which the target packs into an archive behind a
//         mimetype (deflated when the byte has bit 1 set).
// With bit 3 set a spreadsheet's sheets are read a section per column, else
// row by row.
// Beyond the sanitizers' findings it checks: the only exceptions are the
// loader's own (the read error, a line too long, the budget spent);
// every line is UTF-8 without a CR or LF; a list that refuses a
// line gets exactly the lines before it; repetition stops when the list is
// full.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "WordFuzz.h"
#include "files/OpenDocumentText.h"
#include "support/ZipWriter.h"

namespace {

kivo::fuzz::Extraction extract(std::span<const std::uint8_t> file, kivo::SheetLayout layout,
                               std::size_t acceptAtMost) {
    return kivo::fuzz::extractChecked(
        [&](const kivo::LineSink& sink) {
            return kivo::extractOpenDocumentText(file, sink, kivo::ReadBudget(), layout);
        },
        acceptAtMost, "\r\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    std::vector<std::uint8_t> file(rest.begin(), rest.end());
    if (mode & 1) {
        const bool deflated = (mode & 2) != 0;
        file = kivo::test::zipOf(
            {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet", deflated},
             {"content.xml", std::string(rest.begin(), rest.end()), deflated}});
        FUZZ_CHECK(kivo::openDocumentKind(file) == kivo::OpenDocumentKind::Spreadsheet);
    } else {
        (void)kivo::openDocumentKind(file);
    }
    const kivo::SheetLayout layout =
        (mode & 8) != 0 ? kivo::SheetLayout::ColumnSections : kivo::SheetLayout::Rows;
    // A list of its own size, which a repeated cell may fill.
    const kivo::fuzz::Extraction all = extract(file, layout, 100000);
    if (all.broken) return 0;
    kivo::fuzz::checkRefusedHalfway(all, extract(file, layout, all.lines.size() / 2));
    return 0;
}
