<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" name="Island" tilewidth="16" tileheight="16" tilecount="3" columns="2">
 <image source="island-tiles.png" width="32" height="32"/>
 <tile id="0">
  <properties>
   <property name="quillop-bitmap" value="Grass"/>
  </properties>
 </tile>
 <tile id="1">
  <properties>
   <property name="quillop-bitmap" value="Water"/>
  </properties>
 </tile>
 <tile id="2">
  <properties>
   <property name="quillop-bitmap" value="Stone"/>
  </properties>
 </tile>
</tileset>
