#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"

#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class WorkingTableTest : public ::testing::Test
{
protected:
    DatabaseSession session() const
    {
        return DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u'\n');
    }

    QString file() const { return dir.filePath(u"Nesta.DB"_s); }

    void execSql(const char *sql) const
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(file()).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    QString openError()
    {
        try {
            OpenWorkingQuery(query, session());
        } catch (const ModuleError &e) {
            return e.text();
        }
        return QString();
    }

    QTemporaryDir dir;
    Dataset query{NestaTableDef()};
};

} // namespace

TEST_F(WorkingTableTest, CreatesSixtyFieldsInOrderWithTheirKinds)
{
    const TableDef &def = NestaTableDef();
    ASSERT_EQ(def.fields.size(), 60u);
    EXPECT_EQ(def.fields[0].name, u"PORADI"_s);
    EXPECT_EQ(def.fields[1].name, u"CJ"_s);
    EXPECT_EQ(def.fields[29].name, u"VYBAVA_XML"_s);
    EXPECT_EQ(def.fields[29].kind, FieldKind::Memo);
    EXPECT_EQ(def.fields[41].name, u"OZNACENO"_s);
    EXPECT_EQ(def.fields[41].kind, FieldKind::Boolean);
    EXPECT_EQ(def.fields[47].name, u"ZOB_FOTO6"_s);
    EXPECT_EQ(def.fields[49].name, u"ODESLI_FOTO"_s);
    EXPECT_EQ(def.fields[59].name, u"REZERVA10"_s);

    CreateWorkingTable(query, session());
    EXPECT_TRUE(query.isOpen());
    EXPECT_EQ(query.recordCount(), 0);

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file()).constData(), &db), SQLITE_OK);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA table_info(Nesta)", -1, &stmt, nullptr);
    QStringList columns;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        columns.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1))));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    ASSERT_EQ(columns.size(), 60);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(columns[i], def.fields[size_t(i)].name);
}

TEST_F(WorkingTableTest, FieldsAreCutToTheirWidthsButPhotoPathsNever)
{
    CreateWorkingTable(query, session());
    const QString photo = u"/host/Data/FOTO/"_s + QString(120, u'f') + u"_1_WEB.JPG"_s;
    query.append();
    query.setValue(u"CJ", u"A1234567890123456789XYZ"_s);
    query.setValue(u"POZNAMKA", QString(300, u'ř'));
    query.setValue(u"ODESLI_FOTO", u"1234"_s);
    query.setValue(u"FOTO1", photo);
    query.setValue(u"OZNACENO", true);
    query.post();
    query.close();
    query.open();
    EXPECT_EQ(query.text(u"PORADI"), u"1"_s);
    EXPECT_EQ(query.text(u"CJ"), u"A1234567890123456789"_s);
    EXPECT_EQ(query.text(u"POZNAMKA"), QString(255, u'ř'));
    EXPECT_EQ(query.text(u"ODESLI_FOTO"), u"123"_s);
    EXPECT_EQ(query.text(u"FOTO1"), photo);
    EXPECT_TRUE(query.boolean(u"OZNACENO"));
    EXPECT_TRUE(query.value(u"ZOB_FOTO1").isNull());
}

TEST_F(WorkingTableTest, RecreatingEmptiesAPopulatedTable)
{
    CreateWorkingTable(query, session());
    query.append();
    query.setValue(u"CJ", u"1"_s);
    query.post();
    CreateWorkingTable(query, session());
    EXPECT_EQ(query.recordCount(), 0);
}

TEST_F(WorkingTableTest, AMissingOrRetypedFieldIsNamedButAnotherWidthOpens)
{
    CreateWorkingTable(query, session());
    query.close();
    execSql("ALTER TABLE Nesta DROP COLUMN REZERVA7");
    EXPECT_TRUE(openError().contains(u"REZERVA7"_s)) << openError().toStdString();

    CreateWorkingTable(query, session());
    query.close();
    execSql("ALTER TABLE Nesta DROP COLUMN OZNACENO");
    execSql("ALTER TABLE Nesta ADD COLUMN OZNACENO VARCHAR(5)");
    EXPECT_TRUE(openError().contains(u"OZNACENO"_s));

    CreateWorkingTable(query, session());
    query.close();
    execSql("ALTER TABLE Nesta DROP COLUMN CJ");
    execSql("ALTER TABLE Nesta ADD COLUMN CJ VARCHAR(40)");
    EXPECT_EQ(openError(), QString());
}

TEST_F(WorkingTableTest, AFileThatIsNoDatabaseIsNamedAndLeftAlone)
{
    // A Paradox table left by an older installation.
    QByteArray old(4096, '\0');
    old[0] = 0x2A;
    old[4] = 2;
    QFile f(file());
    f.open(QIODevice::WriteOnly);
    f.write(old);
    f.close();

    const QString error = openError();
    EXPECT_TRUE(error.contains(file())) << error.toStdString();
    QFile again(file());
    again.open(QIODevice::ReadOnly);
    EXPECT_EQ(again.readAll(), old);
}

TEST_F(WorkingTableTest, WithoutAliasBazarNothingIsCreated)
{
    const auto none = DatabaseSession::fromText(u"[BAZAR1]\nPATH=/tmp\n"_s);
    EXPECT_THROW(CreateWorkingTable(query, none), ModuleError);
    EXPECT_FALSE(QFile::exists(file()));
}
