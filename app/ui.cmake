# The window layer: Qt Widgets and PrintSupport.
