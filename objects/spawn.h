// Spawners: put bullets, enemies and clouds into their pools.
#ifndef OBJECTS_SPAWN_H
#define OBJECTS_SPAWN_H

void fireBullet();
void spawnEnemy();
void spawnClouds();

#endif
