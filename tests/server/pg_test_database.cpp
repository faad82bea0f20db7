#include "pg_test_database.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace qv::server::test {

namespace {

std::string NextSchemaName() {
    static std::atomic<int> s_lCount{0};
    return "qv_test_" + std::to_string(getpid()) + "_" + std::to_string(++s_lCount);
}

// libpq reads options=-c search_path=... from the URL, percent-encoded, at every connection.
std::string WithSearchPath(const std::string& p_sUrl, const std::string& p_sSchema) {
    const char separator = p_sUrl.find('?') == std::string::npos ? '?' : '&';
    return p_sUrl + separator + "options=-c%20search_path%3D" + p_sSchema;
}

}  // namespace

std::optional<std::string> TestPostgresUrl() {
    const char* url = std::getenv("QV_TEST_POSTGRES");
    if (url == nullptr || *url == '\0') {
        return std::nullopt;
    }
    return std::string(url);
}

ScratchSchema::ScratchSchema(const std::string& p_sBaseUrl)
    : m_oAdmin(p_sBaseUrl),
      m_sSchema(NextSchemaName()),
      m_sUrl(WithSearchPath(p_sBaseUrl, m_sSchema)) {
    m_oAdmin.Execute("DROP SCHEMA IF EXISTS " + m_sSchema + " CASCADE; CREATE SCHEMA " + m_sSchema);
}

ScratchSchema::~ScratchSchema() {
    try {
        m_oAdmin.Execute("DROP SCHEMA IF EXISTS " + m_sSchema + " CASCADE");
    } catch (const std::exception&) {
        // A schema left behind is dropped by the next run of the same process id, or with the
        // throwaway cluster.
    }
}

}  // namespace qv::server::test
