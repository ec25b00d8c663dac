// Registry export files (RegFileReader). Property: a file that reads and builds into a tree
// is written back (RegFileWriter) to a file that reads into the same tree.
#include "FuzzSupport.h"
#include "platform/RegFileReader.h"
#include "platform/RegFileWriter.h"

namespace {

QString describe(const RegKeyTree &tree, int depth = 0)
{
    QString out = QString(depth * 2, u' ') + u'[' + tree.name + QStringLiteral("]\n");
    for (const RegValue &value : tree.values)
        out += QString(depth * 2 + 2, u' ') + value.name + u'=' + value.toText() + u'\n';
    for (const RegKeyTree &sub : tree.subkeys)
        out += describe(sub, depth + 1);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QList<RegFileReader::Key> keys;
    QString error;
    if (!RegFileReader::parse(Fuzz::bytes(data, size), keys, &error)) {
        FUZZ_CHECK(keys.isEmpty() && !error.isEmpty(), error);
        return 0;
    }
    FUZZ_CHECK(!keys.isEmpty(), QStringLiteral("a file read without error holds no key"));
    for (const RegFileReader::Key &key : keys)
        FUZZ_CHECK(RegFileReader::rootedPath(key.path) == key.path, key.path);

    RegKeyTree tree;
    const QString target = keys.first().path;
    if (!RegFileReader::buildTree(keys, target, tree, &error))
        return 0;
    const auto written = RegFileWriter::bytes(target, tree);
    if (!written)
        return 0; // names the format cannot hold
    QList<RegFileReader::Key> again;
    FUZZ_CHECK(
            RegFileReader::parse(*written, again, &error),
            error + u'\n' +
                    QString::fromUtf16(reinterpret_cast<const char16_t *>(written->constData() + 2),
                                       (written->size() - 2) / 2));
    RegKeyTree rebuilt;
    FUZZ_CHECK(RegFileReader::buildTree(again, target, rebuilt, &error), error);
    FUZZ_CHECK(rebuilt == tree,
               describe(tree) + QStringLiteral("---- read back as\n") + describe(rebuilt));
    return 0;
}
