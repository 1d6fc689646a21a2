#include "common/oledate.h"
#include "db/builders.h"
#include "db/connection.h"
#include "db/datastore.h"

#include <QDate>
#include <QList>
#include <QString>

#include <algorithm>
#include <array>
#include <vector>

namespace mv {

namespace {

struct DemoItem
{
    const char* category;
    const char* name;
    const char* model;
    const char* unit;
    double price;
    int batchMin; // a usual receipt quantity, from batchMin to batchMax
    int batchMax;
};

// Raw materials of a door, window and curtain-wall shop, five categories.
const std::array<DemoItem, 40> kItems = {{
    {"铝型材", "断桥窗框料", "KF60-01", "支", 168.0, 40, 120},
    {"铝型材", "断桥窗扇料", "KF60-02", "支", 152.5, 40, 120},
    {"铝型材", "断桥中梃料", "KF60-03", "支", 139.0, 20, 80},
    {"铝型材", "推拉窗上滑", "TL90-11", "支", 96.0, 30, 90},
    {"铝型材", "推拉窗下滑", "TL90-12", "支", 101.0, 30, 90},
    {"铝型材", "推拉窗光企", "TL90-13", "支", 78.5, 30, 90},
    {"铝型材", "推拉窗勾企", "TL90-14", "支", 82.0, 30, 90},
    {"铝型材", "玻璃压线", "YX-20", "支", 21.5, 60, 200},
    {"铝型材", "幕墙立柱", "MQ150-01", "支", 420.0, 10, 40},
    {"铝型材", "幕墙横梁", "MQ150-02", "支", 265.0, 10, 40},
    {"玻璃", "钢化白玻", "6mm", "平方米", 58.0, 30, 120},
    {"玻璃", "钢化白玻", "8mm", "平方米", 76.0, 20, 80},
    {"玻璃", "中空玻璃", "5+12A+5", "平方米", 118.0, 30, 100},
    {"玻璃", "中空玻璃", "6+12A+6", "平方米", 135.0, 30, 100},
    {"玻璃", "Low-E中空玻璃", "6Low-E+12A+6", "平方米", 198.0, 20, 80},
    {"玻璃", "夹胶玻璃", "5+0.76PVB+5", "平方米", 165.0, 10, 50},
    {"玻璃", "磨砂玻璃", "5mm", "平方米", 62.0, 10, 40},
    {"玻璃", "超白钢化玻璃", "10mm", "平方米", 142.0, 10, 40},
    {"五金件", "执手", "ZS-01", "把", 35.0, 50, 200},
    {"五金件", "合页", "HY-100", "个", 12.5, 100, 300},
    {"五金件", "滑轮", "HL-25", "个", 6.8, 100, 400},
    {"五金件", "月牙锁", "YS-02", "个", 9.5, 100, 300},
    {"五金件", "传动器", "CD-400", "套", 48.0, 30, 120},
    {"五金件", "风撑", "FC-300", "对", 26.0, 50, 150},
    {"五金件", "地弹簧", "DT-80", "套", 320.0, 5, 20},
    {"五金件", "闭门器", "BMQ-60", "个", 145.0, 10, 30},
    {"密封材料", "硅酮结构胶", "SS622", "支", 32.0, 48, 144},
    {"密封材料", "硅酮耐候胶", "SS793", "支", 24.0, 48, 192},
    {"密封材料", "三元乙丙胶条", "EPDM-A12", "米", 3.2, 200, 600},
    {"密封材料", "三元乙丙胶条", "EPDM-B8", "米", 2.6, 200, 600},
    {"密封材料", "毛条", "5×6", "米", 0.8, 300, 1000},
    {"密封材料", "发泡胶", "750ml", "罐", 18.5, 24, 72},
    {"紧固件", "不锈钢自攻螺钉", "ST4.2×19", "盒", 28.0, 10, 40},
    {"紧固件", "不锈钢自攻螺钉", "ST4.8×25", "盒", 34.0, 10, 40},
    {"紧固件", "膨胀螺栓", "M8×80", "个", 1.2, 200, 600},
    {"紧固件", "膨胀螺栓", "M10×100", "个", 1.8, 200, 600},
    {"紧固件", "化学锚栓", "M12×160", "个", 6.5, 50, 200},
    {"紧固件", "角码", "JM-60", "个", 2.4, 200, 800},
    {"紧固件", "不锈钢拉铆钉", "4×12", "盒", 22.0, 10, 30},
    {"紧固件", "不锈钢拉铆钉", "4×16", "盒", 24.0, 10, 30},
}};

const std::array<const char*, 5> kCategories = {"铝型材", "玻璃", "五金件", "密封材料", "紧固件"};
// The supplier of each category; the last one is a trading company that sells everything.
const std::array<const char*, 6> kSuppliers = {"华南铝材有限公司", "信达玻璃制品厂",
                                               "恒通五金配件厂",   "永固密封材料有限公司",
                                               "金盛紧固件经营部", "宏远建材贸易公司"};
const std::array<const char*, 4> kProjects = {"阳光花园3号楼", "滨江商务中心幕墙", "实验中学教学楼",
                                              "锦绣家园二期"};
const std::array<const char*, 4> kRemarks = {"", "补货", "急用", "按图纸下料"};

const QString kMaker = QStringLiteral("admin");

// A small fixed-seed generator: the same data set on every machine and every run.
class DemoRandom
{
public:
    int below(int bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return int((m_state >> 33) % quint64(bound));
    }
    int between(int low, int high) { return low + below(high - low + 1); }

private:
    quint64 m_state = 20100105;
};

class DemoWriter
{
public:
    explicit DemoWriter(Connection& connection) : m_connection(connection) {}

    bool ok() const { return m_ok; }

    QString number(bool receipt) { return QString::asprintf("%08d", receipt ? ++m_in : ++m_out); }

    void header(const QString& number, bool receipt, bool audited)
    {
        QString assignments = QStringLiteral("单号=") + sqlQuoted(number) +
                              QStringLiteral(",出入=") +
                              sqlQuoted(receipt ? QStringLiteral("入") : QStringLiteral("出"));
        if (audited)
            assignments += QStringLiteral(",审核=") + sqlQuoted(kMaker);
        run(buildInsert(QStringLiteral("ycldate"), assignments));
    }

    void line(const QString& number, const QDate& date, const DemoItem& item, int quantity,
              const QString& partner, const QString& remark, bool receipt)
    {
        QString assignments =
            QStringLiteral("原材料名字=") + sqlQuoted(QString::fromUtf8(item.name)) +
            QStringLiteral(",单位=") + sqlQuoted(QString::fromUtf8(item.unit)) +
            QStringLiteral(",制单人=") + sqlQuoted(kMaker) + QStringLiteral(",供应单位=") +
            sqlQuoted(partner) + QStringLiteral(",数量=") + sqlQuoted(QString::number(quantity));
        if (receipt)
            assignments += QStringLiteral(",单价=") + sqlQuoted(QString::number(item.price));
        assignments += QStringLiteral(",单据号=") + sqlQuoted(number) + QStringLiteral(",分类=") +
                       sqlQuoted(QString::fromUtf8(item.category)) + QStringLiteral(",备注=") +
                       sqlQuoted(remark) + QStringLiteral(",型号=") +
                       sqlQuoted(QString::fromUtf8(item.model)) + QStringLiteral(",日期=") +
                       sqlQuoted(m_connection.dialect().dateValue(date)) +
                       QStringLiteral(",正负=") +
                       sqlQuoted(receipt ? QStringLiteral("入库") : QStringLiteral("出库"));
        run(buildInsert(QStringLiteral("yclnote"), assignments));
    }

    void run(const QString& sql)
    {
        if (m_ok && !m_connection.execute(sql))
            m_ok = false;
    }

private:
    Connection& m_connection;
    int m_in = 0;
    int m_out = 0;
    bool m_ok = true;
};

std::vector<int> itemsOfCategory(int category)
{
    std::vector<int> items;
    for (int i = 0; i < int(kItems.size()); ++i) {
        if (QString::fromUtf8(kItems[size_t(i)].category) ==
            QString::fromUtf8(kCategories[size_t(category)]))
            items.push_back(i);
    }
    return items;
}

} // namespace

bool fillDemoData(Connection& connection, QString* error)
{
    Transaction transaction(connection);
    DemoWriter writer(connection);
    DemoRandom random;
    std::vector<int> balance(kItems.size(), 0);

    for (size_t i = 0; i < kItems.size(); ++i) {
        const DemoItem& item = kItems[i];
        writer.run(buildInsert(
            QStringLiteral("ycl"),
            QStringLiteral("编号=") + QString::number(i + 1) + QStringLiteral(",库存分类=") +
                sqlQuoted(QString::fromUtf8(item.category)) + QStringLiteral(",原材料名字=") +
                sqlQuoted(QString::fromUtf8(item.name)) + QStringLiteral(",规格=") +
                sqlQuoted(QString::fromUtf8(item.model)) + QStringLiteral(",单位=") +
                sqlQuoted(QString::fromUtf8(item.unit))));
    }
    for (const char* project : kProjects) {
        writer.run(buildInsert(QStringLiteral("date"), QStringLiteral("x=") +
                                                           sqlQuoted(QString::fromUtf8(project)) +
                                                           QStringLiteral(",y='出库项目'")));
    }

    const QDate today = clockToday();
    const QDate start = today.addMonths(-3);
    auto receive = [&](const QDate& date, int supplier, const std::vector<int>& items) {
        const QString number = writer.number(true);
        writer.header(number, true, date.daysTo(today) > 10 && random.below(10) < 8);
        for (int index : items) {
            const DemoItem& item = kItems[size_t(index)];
            const int quantity = random.between(item.batchMin, item.batchMax);
            balance[size_t(index)] += quantity;
            writer.line(
                number, date, item, quantity, QString::fromUtf8(kSuppliers[size_t(supplier)]),
                QString::fromUtf8(kRemarks[size_t(random.below(int(kRemarks.size())))]), true);
        }
    };

    // Opening stock: one receipt per category on the first day.
    for (int category = 0; category < int(kCategories.size()); ++category)
        receive(start, category, itemsOfCategory(category));

    for (QDate date = start.addDays(1); date <= today; date = date.addDays(1)) {
        if (date.dayOfWeek() == Qt::Sunday)
            continue;
        if (random.below(3) == 0) {
            // A restocking receipt for the category that runs lowest, now and then bought
            // from the trading company instead of the usual supplier.
            int category = 0;
            int lowest = -1;
            std::vector<int> low;
            for (int c = 0; c < int(kCategories.size()); ++c) {
                std::vector<int> candidates;
                for (int index : itemsOfCategory(c)) {
                    const DemoItem& item = kItems[size_t(index)];
                    if (balance[size_t(index)] < (item.batchMin + item.batchMax) / 2)
                        candidates.push_back(index);
                }
                if (int(candidates.size()) > lowest) {
                    lowest = int(candidates.size());
                    category = c;
                    low = candidates;
                }
            }
            std::vector<int> chosen(low.begin(), low.begin() + qMin<qsizetype>(4, low.size()));
            std::vector<int> pool = itemsOfCategory(category);
            while (chosen.size() < 2) {
                const int pick = pool[size_t(random.below(int(pool.size())))];
                if (std::find(chosen.begin(), chosen.end(), pick) == chosen.end())
                    chosen.push_back(pick);
            }
            const int supplier = random.below(5) == 0 ? 5 : category;
            receive(date, supplier, chosen);
        }
        const int requisitions = random.below(3) == 0 ? 2 : 1;
        for (int r = 0; r < requisitions; ++r) {
            const QString project = QString::fromUtf8(kProjects[size_t(random.below(4))]);
            std::vector<std::pair<int, int>> lines;
            const int count = random.between(1, 4);
            for (int k = 0; k < count; ++k) {
                const int index = random.below(int(kItems.size()));
                const DemoItem& item = kItems[size_t(index)];
                const int wanted = random.between(1, qMax(1, item.batchMax / 6));
                const int issued = qMin(wanted, balance[size_t(index)]);
                bool repeated = false;
                for (const auto& line : lines)
                    repeated = repeated || line.first == index;
                if (issued <= 0 || repeated)
                    continue; // never issue more than is in stock
                balance[size_t(index)] -= issued;
                lines.emplace_back(index, issued);
            }
            if (lines.empty())
                continue;
            const QString number = writer.number(false);
            writer.header(number, false, date.daysTo(today) > 7 && random.below(2) == 0);
            for (const auto& [index, quantity] : lines) {
                writer.line(number, date, kItems[size_t(index)], quantity, project,
                            QString::fromUtf8(kRemarks[size_t(random.below(2))]), false);
            }
        }
    }

    if (!writer.ok() || !transaction.commit()) {
        if (error)
            *error = connection.lastError();
        return false;
    }
    return true;
}

} // namespace mv
