#include "kinds/userinterfaces/UserInterfaceItem.h"

#include "quillop/runtime/TypeTexts.h"

#include <array>
#include <cctype>
#include <cstdio>

namespace {
bool sameKey(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

std::string UserInterfaceItem::typeText(std::int32_t type)
{
    return quillop::interfaceEntryTypeText(type);
}

std::vector<std::string> UserInterfaceItem::typeTexts()
{
    std::vector<std::string> texts;
    for (int type = 0; type < kTypeCount; ++type)
        texts.push_back(quillop::interfaceEntryTypeText(type));
    return texts;
}

std::string UserInterfaceItem::stateOption(const std::string& states, const std::string& key)
{
    std::size_t begin = 0;
    while (begin < states.size()) {
        std::size_t end = states.find_first_of("\r\n", begin);
        if (end == std::string::npos)
            end = states.size();
        const std::string line = states.substr(begin, end - begin);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && sameKey(line.substr(0, equals), key))
            return line.substr(equals + 1);
        begin = end + 1;
        if (end < states.size() && states[end] == '\r' && begin < states.size() && states[begin] == '\n')
            ++begin;
    }
    return {};
}

std::string UserInterfaceItem::advancedText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "advanced=%d", static_cast<int>(advanced.size()));
    return text;
}
