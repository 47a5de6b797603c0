#include "core/params/page_layout.h"

#include <initializer_list>

namespace rvq::params {

namespace {

constexpr int kMm = 62910;
constexpr int kMin = 62911;
constexpr int kVolt = 62912;
constexpr int kLabels = 62913;
constexpr int kTimes = 62914;
constexpr int kSec = 62915;

constexpr auto kPassword = ControlShape::Password;
constexpr auto kShown = ControlShape::Shown;

// One row per control id.
std::vector<LayoutRow> Rows(std::initializer_list<int> ids) {
    std::vector<LayoutRow> rows;
    for (int id : ids) rows.push_back({{{id}}});
    return rows;
}

std::vector<LayoutRow> PasswordRows(std::initializer_list<int> ids) {
    std::vector<LayoutRow> rows;
    for (int id : ids) rows.push_back({{{id, kPassword}}});
    return rows;
}

// A printer's value beside the editable one, with its spin and unit.
LayoutRow Adjust(int shown, int edit, int unit = 0) { return {{{shown, kShown}, {edit}}, unit}; }

std::vector<LayoutRow> Join(std::initializer_list<std::vector<LayoutRow>> parts) {
    std::vector<LayoutRow> rows;
    for (const auto& part : parts) rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

std::vector<LayoutRow> SnmpTrapRows() {
    std::vector<LayoutRow> rows;
    rows.reserve(10);
    for (int i = 0; i < 10; ++i) rows.push_back({{{4519 + i}, {5704 + i}}});
    return rows;
}

std::vector<LayoutRow> WepRows() {
    std::vector<LayoutRow> rows = Rows({4559, 4560});
    for (int i = 0; i < 4; ++i) rows.push_back({{{4561 + i}, {4960 + i, kPassword}}, 0, 3425 + i});
    return rows;
}

std::vector<LayoutGroup> BuildLayout() {
    return {
        // General
        {0, 4000, Rows({4401, 4402, 4800, 4403, 4404})},
        {0, 4001, Rows({4411, 4417, 4412, 4456, 4413, 4419})},
        {0, 4058, Rows({4405, 4801, 4406, 4407, 4408})},
        {0, 4004, Join({Rows({4453, 4450, 4451, 4452}), {{{{4857}}, kMin}}})},
        {0, 4005, Rows({4418, 4457, 4850, 4458, 4455, 4454})},
        {0, 4002, Rows({4459, 4460})},
        {0, 4003, Rows({4416})},
        // General (2)
        {1,
         4050,
         {Adjust(4804, 4805, kMm),
          Adjust(4807, 4808, kMm),
          Adjust(4809, 4810, kMm),
          {{{4806}}, kMm}}},
        {1, 4051, {Adjust(4813, 4814), Adjust(4811, 4812)}},
        {1, 4006, Rows({4461, 4852, 4853, 4854})},
        {1, 4052, Rows({4414, 4415})},
        {1, 4054, Rows({4851, 4466})},
        {1, 4055, {{{{4409}}}, {{{4802}}, kVolt}, {{{4410}}}, {{{4803}}, kVolt}}},
        {1,
         4056,
         {{{{4463}}},
          Adjust(4815, 4816),
          Adjust(4817, 4818),
          Adjust(4819, 4820),
          Adjust(4821, 4822)}},
        {1, 4057, Rows({5650, 5651, 4464, 4465})},
        {1, 4053, Join({Rows({4462}), PasswordRows({4855, 4856})})},
        // Device
        {2, 4100, Rows({4501, 4502, 4503, 4504, 4505})},
        {2, 4101, Rows({4506, 4507, 4508})},
        {2, 4102, {{{{4509}, {4900}}}, {{{4510}}}}},
        // LAN
        {3, 4103, Rows({4511, 5700, 5701, 5702})},
        {3, 4104, Rows({4512, 4513, 4901, 4514, 4515})},
        {3, 4105, Rows({4517, 4902, 4903, 4518, 4516, 5703})},
        {3, 4106, SnmpTrapRows()},
        // WLAN
        {4, 4150, Rows({4550})},
        {4, 4151, Rows({4950, 4951, 4952, 4551})},
        {4, 4152, Rows({4953, 4552})},
        {4, 4153, Rows({4954, 4553})},
        {4, 4154, Rows({4554, 4955, 4956, 4957, 4958, 4959})},
        {4, 4155, Rows({4555, 4556, 4557, 4558})},
        {4, 4156, WepRows()},
        // WLAN (2)
        {5, 4204, PasswordRows({5000})},
        {5, 4205, {{{{5001}}}, {{{5002, kPassword}}}}},
        {5, 4206, Rows({5003})},
        {5, 4207, {{{{5004}}}, {{{5005}}}, {{{5006}}}, {{{5007, kPassword}}}, {{{5008}}}}},
        {5, 4208, Join({Rows({4600, 4601, 4602, 5009}), PasswordRows({5010})})},
        {5, 4209, Rows({4603, 4604, 4605, 4607, 4606, 5011})},
        // RFID
        {6, 4250, Rows({4650, 4651, 4652})},
        {6, 4251, Rows({5050, 5052, 5051, 5053, 5054, 4653, 4654})},
        {6,
         4253,
         {{{{5063}}, kMm},
          {{{5058}}, kLabels},
          {{{5059}}, kTimes},
          {{{5060}}, kSec},
          {{{5061}}, kTimes},
          {{{5062}}, kSec}}},
        {6,
         4252,
         {{{{5056, kPassword}}},
          {{{4657}}},
          {{{5057, kPassword}}},
          {{{4656}}},
          {{{4655}}},
          {{{5055, kPassword}}}}},
    };
}

}  // namespace

const std::vector<LayoutGroup>& ParameterLayout() {
    static const std::vector<LayoutGroup> layout = BuildLayout();
    return layout;
}

const LayoutGroup* FindLayoutGroup(int checkBoxId) {
    for (const LayoutGroup& group : ParameterLayout())
        if (group.checkBoxId == checkBoxId) return &group;
    return nullptr;
}

ControlShape ShapeOf(int ctrlId) {
    for (const LayoutGroup& group : ParameterLayout())
        for (const LayoutRow& row : group.rows)
            for (const LayoutControl& control : row.controls)
                if (control.ctrlId == ctrlId) return control.shape;
    return ControlShape::Auto;
}

}  // namespace rvq::params
