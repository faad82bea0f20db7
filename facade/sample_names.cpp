#include "facade/sample_names.h"

namespace qv::facade {

const std::vector<SampleSector>& SampleSectors() {
    static const std::vector<SampleSector> sectors = {
        {"Communication Services",
         {"Wireless Carriers", "Cable & Satellite", "Broadcasting", "Publishing",
          "Advertising Agencies", "Interactive Media", "Video Games", "Film & Entertainment",
          "Fixed-Line Telecom", "Digital Services", "Music & Audio"},
         {"Media", "Communications", "Networks", "Entertainment"}},
        {"Consumer Discretionary",
         {"Automobile Makers", "Auto Parts", "Apparel Makers", "Footwear", "Department Stores",
          "Home Improvement Retail", "Specialty Retail", "Restaurants", "Hotels & Lodging",
          "Cruise & Travel", "Leisure Products", "Homebuilders", "Household Durables"},
         {"Brands", "Motors", "Retail", "Leisure"}},
        {"Consumer Staples",
         {"Packaged Foods", "Beverages", "Brewers & Distillers", "Tobacco", "Household Products",
          "Personal Care", "Grocery Stores", "Drug Retail", "Farm Products", "Food Distributors",
          "Discount Stores"},
         {"Foods", "Brands", "Farms", "Consumer"}},
        {"Energy",
         {"Integrated Oil & Gas", "Exploration & Production", "Oil Refining", "Pipelines",
          "Oilfield Services", "Drilling Contractors", "Coal Mining", "Oil & Gas Storage",
          "Renewable Fuels", "Tanker Shipping", "Energy Equipment"},
         {"Energy", "Petroleum", "Resources", "Oil"}},
        {"Financials",
         {"Diversified Banks", "Regional Banks", "Investment Banking", "Asset Management",
          "Consumer Finance", "Life Insurance", "Property & Casualty Insurance",
          "Insurance Brokers", "Exchanges & Market Data", "Mortgage Finance", "Reinsurance",
          "Specialty Lending"},
         {"Financial", "Bancorp", "Capital", "Trust"}},
        {"Health Care",
         {"Pharmaceuticals", "Biotechnology", "Medical Devices", "Health Care Supplies",
          "Hospitals", "Managed Care", "Diagnostics & Research", "Health Care Distributors",
          "Life Science Tools", "Dental & Vision", "Health Care Technology"},
         {"Health", "Pharma", "Medical", "Therapeutics"}},
        {"Industrials",
         {"Aerospace & Defense", "Airlines", "Railroads", "Trucking", "Air Freight",
          "Building Products", "Construction & Engineering", "Electrical Equipment",
          "Industrial Machinery", "Waste Management", "Staffing Services", "Marine Shipping"},
         {"Industries", "Systems", "Logistics", "Engineering"}},
        {"Information Technology",
         {"Semiconductors", "Semiconductor Equipment", "Application Software", "Systems Software",
          "IT Consulting", "Computer Hardware", "Storage & Networking", "Communications Equipment",
          "Electronic Components", "Payment Processing", "Cybersecurity"},
         {"Technologies", "Software", "Systems", "Micro"}},
        {"Materials",
         {"Specialty Chemicals", "Commodity Chemicals", "Fertilizers", "Steel", "Aluminum",
          "Copper & Base Metals", "Gold Mining", "Paper & Forest Products", "Paper Packaging",
          "Metal & Glass Containers", "Construction Materials"},
         {"Materials", "Chemicals", "Mining", "Metals"}},
        {"Real Estate",
         {"Office REITs", "Retail REITs", "Residential REITs", "Industrial REITs",
          "Health Care REITs", "Hotel REITs", "Data Center REITs", "Self-Storage REITs",
          "Real Estate Services", "Real Estate Development", "Timber REITs"},
         {"Realty", "Properties", "Land", "Estates"}},
        {"Utilities",
         {"Electric Utilities", "Gas Utilities", "Water Utilities", "Multi-Utilities",
          "Independent Power Producers", "Renewable Electricity", "Transmission Operators",
          "District Heating", "Nuclear Generation", "Utility Services", "Energy Retailers"},
         {"Power", "Utilities", "Electric", "Water"}},
    };
    return sectors;
}

const std::vector<const char*>& CompanyNameStarts() {
    static const std::vector<const char*> starts = {
        "Al",  "Bel", "Cor", "Dra", "El",  "Fen",  "Gal", "Hal", "Ir",  "Jun", "Kel",
        "Lum", "Mar", "Nor", "Or",  "Pel", "Quin", "Ros", "Sol", "Tal", "Ul",  "Ver",
        "Wes", "Xan", "Yor", "Zen", "Ast", "Bra",  "Cal", "Dun", "Ev",  "Gra", "Hex",
        "Kor", "Lin", "Mon", "Nev", "Ost", "Pra",  "Sev", "Tor", "Vel"};
    return starts;
}

const std::vector<const char*>& CompanyNameEnds() {
    static const std::vector<const char*> ends = {"ex",  "on",  "ia",  "is",  "ar",  "um",
                                                  "ent", "ix",  "ora", "ant", "ell", "yn",
                                                  "ara", "eon", "ic",  "ova", "us",  "ite"};
    return ends;
}

const std::vector<const char*>& CompanySuffixes() {
    static const std::vector<const char*> suffixes = {"Inc.",     "Corp.", "Group",
                                                      "Holdings", "Co.",   "Ltd."};
    return suffixes;
}

}  // namespace qv::facade
