#pragma once

// Names of the program's windows: each window's objectName, and the key of its open flag in
// the main window.

namespace kestrova::windows {

inline constexpr const char* kAbout = "frmAboutfrm";
inline constexpr const char* kCentroid = "frmAnalysisCentroidandAreaMeasurementfrm";
inline constexpr const char* kDataThresholds = "frmAnalysisDataThresholdsAsAbsoluteValuesfrm";
inline constexpr const char* kHistogram = "frmAnalysisIntensityDistributionfrm";
inline constexpr const char* kRegionDisplayZoomCustom = "frmAnalysisRegionofInterestDisplayImageZoomCustomfrm";
inline constexpr const char* kRegionDisplay = "frmAnalysisRegionofInterestDisplayfrm";
inline constexpr const char* kRegionsValues = "frmAnalysisRegionsofInterestValuesfrm";
inline constexpr const char* kSpectrumLimits = "frmAnalysisXAxisProjectionDisplayLimitsValuesfrm";
inline constexpr const char* kSpectrum = "frmAnalysisXAxisProjectionfrm";
inline constexpr const char* kProfileLimits = "frmAnalysisYAxisProjectionDisplayLimitsValuesfrm";
inline constexpr const char* kProfile = "frmAnalysisYAxisProjectionfrm";
inline constexpr const char* kInitialThresholds = "frmFileInitialDisplayThresholdsfrm";
inline constexpr const char* kThresholdsAbsolute = "frmImageDisplayThresholdsAsAbsoluteValuesfrm";
inline constexpr const char* kThresholdsPerCent = "frmImageDisplayThresholdsAsPerCentValuesfrm";
inline constexpr const char* kInformation = "frmImageInformationfrm";
inline constexpr const char* kZoomCustom = "frmImageZoomCustomfrm";

}  // namespace kestrova::windows
