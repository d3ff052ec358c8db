#include "args.h"

#include <cstdio>

namespace kvr::cli {

std::optional<std::string> Args::takeOption(const std::string& name)
{
    const std::string joined = name + "=";
    for (size_t i = 0; i < m_args.size(); ++i) {
        if (m_args[i].rfind(joined, 0) == 0) {
            std::string value = m_args[i].substr(joined.size());
            m_args.erase(m_args.begin() + static_cast<long>(i));
            return value;
        }
        if (m_args[i] != name) continue;
        if (i + 1 >= m_args.size()) {
            if (m_withoutValue.empty()) m_withoutValue = name;
            m_args.erase(m_args.begin() + static_cast<long>(i));
            return std::nullopt;
        }
        std::string value = m_args[i + 1];
        m_args.erase(m_args.begin() + static_cast<long>(i), m_args.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return std::nullopt;
}

bool Args::takeFlag(const std::string& name)
{
    for (size_t i = 0; i < m_args.size(); ++i) {
        if (m_args[i] == name) {
            m_args.erase(m_args.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

std::optional<std::string> Args::unknownOption() const
{
    for (const std::string& a : m_args)
        if (a.size() > 2 && a.rfind("--", 0) == 0) return a;
    return std::nullopt;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "kvr610-cli: %s\n", message.c_str());
    return kFailure;
}

} // namespace kvr::cli
