// Metrics the engine reports (2037): sent on to the servers with the user's identity filled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "taf/record_table.h"
#include "taf/records/user_id.h"

namespace MERU {

struct MetricDimension {
    std::string sName;
    std::string sValue;

    static constexpr auto tafTable() {
        return taf::table("MetricDimension", taf::optional(0, &MetricDimension::sName, "sName"),
                          taf::optional(1, &MetricDimension::sValue, "sValue"));
    }
};

struct MetricField {
    std::string sName;
    double dValue = 0;

    static constexpr auto tafTable() {
        return taf::table("MetricField", taf::optional(0, &MetricField::sName, "sName"),
                          taf::optional(1, &MetricField::dValue, "dValue"));
    }
};

struct MetricDetail {
    std::string sMetricName;
    std::int64_t lTimestamp = 0;
    std::vector<MetricDimension> vDimension;
    std::vector<MetricField> vField;
    std::vector<MetricDimension> vExtra;

    static constexpr auto tafTable() {
        using D = MetricDetail;
        return taf::table("MetricDetail", taf::required(0, &D::sMetricName, "sMetricName"),
                          taf::optional(1, &D::lTimestamp, "lTimestamp"),
                          taf::optional(2, &D::vDimension, "vDimension"),
                          taf::optional(3, &D::vField, "vField"),
                          taf::optional(4, &D::vExtra, "vExtra"));
    }
};

// Message 2037's payload, and the request record as it is sent.
struct MetricDetailSet {
    UserId tId;
    std::vector<MetricDetail> vMetric;
    std::string sExtra;

    static constexpr auto tafTable() {
        using S = MetricDetailSet;
        return taf::table("MetricDetailSet", taf::required(0, &S::tId, "tId"),
                          taf::required(1, &S::vMetric, "vMetric"),
                          taf::optional(2, &S::sExtra, "sExtra"));
    }
};

}  // namespace MERU
