#include "platform/system/Resources.h"

#include <QFile>

#include <map>
#include <mutex>
#include <tuple>

#include "base/StrUtils.h"

namespace platform {

namespace {

struct Key {
    HINSTANCE instance;
    int type;
    std::string name;  // upper case; "#<id>" for numbered resources
    bool operator<(const Key& o) const
    {
        return std::tie(instance, type, name) < std::tie(o.instance, o.type, o.name);
    }
};

std::mutex& Lock()
{
    static std::mutex m;
    return m;
}

std::map<Key, std::string>& Table()
{
    static std::map<Key, std::string> t;
    return t;
}

std::string IdName(int id)
{
    return "#" + std::to_string(id);
}

bool Lookup(HINSTANCE instance, int type, const std::string& key, std::string& data)
{
    std::lock_guard<std::mutex> g(Lock());
    auto it = Table().find(Key{instance, type, key});
    if (it == Table().end())
        return false;
    data = it->second;
    return true;
}

}  // namespace

HINSTANCE HInstance()
{
    return 0x400000;
}

void RegisterResource(HINSTANCE instance, int type, const std::string& name, std::string data)
{
    std::lock_guard<std::mutex> g(Lock());
    Table()[Key{instance, type, base::UpperCase(name)}] = std::move(data);
}

void RegisterResource(HINSTANCE instance, int type, int id, std::string data)
{
    std::lock_guard<std::mutex> g(Lock());
    Table()[Key{instance, type, IdName(id)}] = std::move(data);
}

void UnregisterResource(HINSTANCE instance, int type, const std::string& name)
{
    std::lock_guard<std::mutex> g(Lock());
    Table().erase(Key{instance, type, base::UpperCase(name)});
}

void UnregisterResource(HINSTANCE instance, int type, int id)
{
    std::lock_guard<std::mutex> g(Lock());
    Table().erase(Key{instance, type, IdName(id)});
}

bool FindResourceData(HINSTANCE instance, int type, const std::string& name, std::string& data)
{
    if (name.empty())
        return false;
    if (Lookup(instance, type, base::UpperCase(name), data))
        return true;
    // Raw data compiled into the host's resource system belongs to the program's module.
    if (instance == HInstance() && type == RT_RCDATA) {
        QFile f(QStringLiteral(":/") + QString::fromStdString(name));
        if (f.open(QIODevice::ReadOnly)) {
            QByteArray bytes = f.readAll();
            data.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            return true;
        }
    }
    return false;
}

bool FindResourceData(HINSTANCE instance, int type, int id, std::string& data)
{
    return Lookup(instance, type, IdName(id), data);
}

std::string LoadResourceData(HINSTANCE instance, int type, const std::string& name)
{
    std::string data;
    if (!FindResourceData(instance, type, name, data))
        throw EResNotFound("Resource " + name + " not found");
    return data;
}

std::string LoadResourceData(HINSTANCE instance, int type, int id)
{
    std::string data;
    if (!FindResourceData(instance, type, id, data))
        throw EResNotFound("Resource " + std::to_string(id) + " not found");
    return data;
}

}  // namespace platform
