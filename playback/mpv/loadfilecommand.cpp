#include "playback/mpv/loadfilecommand.h"

namespace orvane::playback::mpv {

LoadfileCommand::LoadfileCommand(const QByteArray &url, const QList<FileOption> &options)
{
    m_strings.reserve(7 + 2 * options.size());
    m_strings << "name"
              << "loadfile"
              << "url" << url << "flags"
              << "replace";
    for (const FileOption &option : options)
        m_strings << option.first << option.second;
    m_strings << "options";
    // The list no longer grows: pointers into its strings stay valid.
    for (int i = 0; i < 6; i += 2) {
        m_keys.push_back(m_strings[i].data());
        m_values.push_back(stringNode(m_strings[i + 1]));
    }
    if (!options.isEmpty()) {
        for (qsizetype i = 6; i + 1 < m_strings.size(); i += 2) {
            m_optionKeys.push_back(m_strings[i].data());
            m_optionValues.push_back(stringNode(m_strings[i + 1]));
        }
        m_keys.push_back(m_strings.last().data());
        m_values.push_back(mapNode(m_optionList, m_optionKeys, m_optionValues));
    }
    m_command = mapNode(m_list, m_keys, m_values);
}

mpv_node LoadfileCommand::stringNode(QByteArray &text)
{
    mpv_node node{};
    node.format = MPV_FORMAT_STRING;
    node.u.string = text.data();
    return node;
}

mpv_node LoadfileCommand::mapNode(mpv_node_list &list, std::vector<char *> &keys,
                                  std::vector<mpv_node> &values)
{
    list.num = int(values.size());
    list.values = values.data();
    list.keys = keys.data();
    mpv_node node{};
    node.format = MPV_FORMAT_NODE_MAP;
    node.u.list = &list;
    return node;
}

} // namespace orvane::playback::mpv
