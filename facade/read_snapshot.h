// A read transaction around the reads of one facade call, so that the rows, the secondary rows
// and the trading day of a call all come from one state of the database, even while another
// process imports or saves. Inside a transaction already open it does nothing.
#pragma once

namespace qv::facade {

class SqlDatabase;

class ReadSnapshot {
  public:
    explicit ReadSnapshot(SqlDatabase& p_oDatabase);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

  private:
    SqlDatabase& m_oDatabase;
    bool m_bOwn;
};

}  // namespace qv::facade
