#include "grid/ui/CSelectedRowsEdit.h"

#include <algorithm>

IPrompter::Answer CGatheredMessages::ask(const std::string& text, Buttons buttons, Icon icon)
{
    if (buttons != Buttons::Ok)
        return m_target.ask(text, buttons, icon);
    const bool seen =
        std::any_of(m_messages.begin(), m_messages.end(), [&](const auto& message) { return message.first == text; });
    if (!seen)
        m_messages.emplace_back(text, icon);
    return Answer::Ok;
}

void CGatheredMessages::flush()
{
    const auto messages = std::move(m_messages);
    m_messages.clear();
    for (const auto& [text, icon] : messages)
        m_target.tell(text, icon);
}
