#include "zefw32/DialogSettings.h"

#include "kiln/file/SettingsStore.h"

#include <cstdlib>
#include <string>

namespace DialogSettings {

namespace {

using KILN::SettingsStore;

// The leading decimal number of a value, 0 for none (strtol, unlike atoi,
// is defined for numbers out of range).
long decimal(const std::string& value)
{
    return std::strtol(value.c_str(), nullptr, 10);
}

void loadSwitch(const SettingsStore& store, const char* name, bool& field)
{
    std::string value;
    if (store.query(name, value))
        field = decimal(value) != 0;
}

const char* switchText(bool on)
{
    return on ? "1" : "0";
}

} // namespace

void load(PreProcessOptions& pre, PostProcessOptions& post)
{
    SettingsStore store;
    if (!store.openForQuery(SettingsStore::User))
        return;
    loadSwitch(store, "wakachi_p", pre.wakachi);
    loadSwitch(store, "kazenoha_p", pre.kazenoha);
    loadSwitch(store, "jyoshi_wakachi_p", pre.jyoshi_wakachi);
    loadSwitch(store, "publisher_p", post.publisher);
    loadSwitch(store, "rp_output_p", post.rp_output);
    std::string value;
    if (store.query("page_progression", value)) {
        const long number = decimal(value);
        post.page_progression = number == 1 || number == 2 ? static_cast<int32_t>(number) : 0;
    }
}

bool save(const PreProcessOptions& pre, const PostProcessOptions& post)
{
    SettingsStore store;
    if (!store.openForSetting(SettingsStore::User))
        return false;
    store.setString("wakachi_p", switchText(pre.wakachi));
    store.setString("kazenoha_p", switchText(pre.kazenoha));
    store.setString("jyoshi_wakachi_p", switchText(pre.jyoshi_wakachi));
    store.setString("publisher_p", switchText(post.publisher));
    store.setString("rp_output_p", switchText(post.rp_output));
    store.setString("page_progression", std::to_string(post.page_progression));
    return store.close();
}

} // namespace DialogSettings
