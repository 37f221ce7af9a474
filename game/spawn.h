// Spawners: put bullets, enemies and clouds into their pools.
#ifndef GAME_SPAWN_H
#define GAME_SPAWN_H

void fireBullet();
void spawnEnemy();
void spawnClouds();

#endif
