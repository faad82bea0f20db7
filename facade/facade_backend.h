// What the five facade components share: the open market database and what is read from it once.
//
// A caller creates a component object for every call and releases it afterwards, so a component
// holds nothing but a shared pointer to this backend; the database stays open between calls.
// Everything runs on the host's one thread, and so does the connection.
//
//     auto backend = std::make_shared<FacadeBackend>(
//         std::make_shared<MarketStore>(path, MarketStore::Access::ReadWrite));
//     std::string timeCode = backend->Login(7, "Ada");
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qv {
class Recordset;
}

namespace qv::facade {

class MarketStore;
class SqliteDatabase;

class FacadeBackend {
  public:
    explicit FacadeBackend(std::shared_ptr<MarketStore> p_oStore);
    ~FacadeBackend();
    FacadeBackend(const FacadeBackend&) = delete;
    FacadeBackend& operator=(const FacadeBackend&) = delete;

    MarketStore& Store() { return *m_oStore; }
    SqliteDatabase& Database();

    // The field catalogue as the "ParameterList" recordset: every field the facade delivers. Each
    // caller gets a copy of its own, since callers filter and sort it.
    std::shared_ptr<Recordset> FieldCatalogue();

    // Records a login of the owner (created, or renamed when a name is given) and hands out its
    // time code; an earlier time code of the owner no longer counts as the current login.
    std::string Login(int32_t p_lOwnerId, const std::string& p_sName);
    // True when the owner has logged in again since p_sTimeCode was handed out. An empty time
    // code (a caller that does not track logins) never conflicts.
    bool HasNewerLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode);

  private:
    std::shared_ptr<MarketStore> m_oStore;
    std::shared_ptr<Recordset> m_rCatalogue;
};

}  // namespace qv::facade
