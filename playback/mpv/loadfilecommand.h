#pragma once

#include <QByteArray>
#include <QList>

#include <mpv/client.h>

#include <utility>
#include <vector>

namespace orvane::playback::mpv {

// One file option of a loadfile: name and value, e.g. {"start", "2.5"}.
using FileOption = std::pair<QByteArray, QByteArray>;

// The loadfile command in libmpv's named form. Positional arguments change
// meaning between libmpv versions (0.38 put an index before the options), so
// the options would be read as an index there; named ones mean the same
// everywhere. The object owns every string and node it points to, so it
// must outlive the call that sends it (libmpv copies the node at once).
class LoadfileCommand
{
public:
    LoadfileCommand(const QByteArray &url, const QList<FileOption> &options);
    LoadfileCommand(const LoadfileCommand &) = delete;
    LoadfileCommand &operator=(const LoadfileCommand &) = delete;

    mpv_node *node() { return &m_command; }

private:
    static mpv_node stringNode(QByteArray &text);
    static mpv_node mapNode(mpv_node_list &list, std::vector<char *> &keys,
                            std::vector<mpv_node> &values);

    QList<QByteArray> m_strings; // filled once; the nodes point into it
    std::vector<char *> m_optionKeys;
    std::vector<mpv_node> m_optionValues;
    mpv_node_list m_optionList{};
    std::vector<char *> m_keys;
    std::vector<mpv_node> m_values;
    mpv_node_list m_list{};
    mpv_node m_command{};
};

} // namespace orvane::playback::mpv
